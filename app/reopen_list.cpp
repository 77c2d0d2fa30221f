#include "app/reopen_list.h"

#include <QAction>
#include <QMenu>

#include "support/state.h"

namespace {

QString WithoutAmpersands(QString text) { return text.remove(QLatin1Char('&')); }

void RemoveEntry(QMenu* menu, QAction* entry) {
  menu->removeAction(entry);
  entry->deleteLater();
}

}  // namespace

QString ReopenPath(const QAction* entry) { return ReopenActionPath(entry); }

bool SameReopenPath(const QString& a, const QString& b) {
  return WithoutAmpersands(a).compare(WithoutAmpersands(b), Qt::CaseInsensitive) == 0;
}

void AddReopenEntry(QMenu* menu, const QString& path,
                    const std::function<void(QAction*)>& onClick) {
  QAction* existing = nullptr;
  for (QAction* entry : menu->actions()) {
    if (SameReopenPath(ReopenPath(entry), path)) {
      existing = entry;
      break;
    }
  }
  if (existing != nullptr) {
    RemoveEntry(menu, existing);
  } else if (menu->actions().size() >= kMaxReopenEntries) {
    RemoveEntry(menu, menu->actions().last());
  }
  auto* entry = new QAction(menu);
  SetReopenActionPath(entry, path);
  QObject::connect(entry, &QAction::triggered, menu, [entry, onClick] { onClick(entry); });
  const QList<QAction*> entries = menu->actions();
  menu->insertAction(entries.isEmpty() ? nullptr : entries.first(), entry);
}
