#include "app/lock_wait.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <exception>

namespace {

constexpr int kRetryMs = 50;

}  // namespace

std::optional<TArchiveLock> WaitForArchiveLock(QWidget* parent, const std::string& file,
                                               const QString& shownPath) {
  if (auto lock = TArchiveLock::TryAcquire(file)) return lock;

  QProgressDialog dialog(parent);
  dialog.setObjectName("dlgLockWait");
  dialog.setWindowTitle(QStringLiteral("Waiting"));
  dialog.setLabelText(
      QStringLiteral("Waiting for another program to finish changing %1...").arg(shownPath));
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
  cancel->setObjectName("btnCancel");
  dialog.setCancelButton(cancel);
  dialog.setRange(0, 0);  // no measure of progress: a busy bar
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, &QDialog::reject);

  std::optional<TArchiveLock> lock;
  std::exception_ptr failure;
  QTimer retry;
  retry.setInterval(kRetryMs);
  QObject::connect(&retry, &QTimer::timeout, &dialog, [&] {
    try {
      if (auto got = TArchiveLock::TryAcquire(file)) {
        lock.emplace(std::move(*got));
        dialog.accept();
      }
    } catch (...) {
      failure = std::current_exception();
      dialog.reject();
    }
  });
  retry.start();
  dialog.exec();
  if (failure) std::rethrow_exception(failure);
  return lock;
}
