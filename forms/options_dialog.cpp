#include "forms/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "forms/encryption_choices.h"
#include "forms/form_style.h"
#include "support/modal_result.h"

namespace {

// A spin box whose 0 reads as the word for "off".
QSpinBox* CountBox(const char* name, int max, const QString& suffix, const QString& zeroText) {
  auto* box = new QSpinBox;
  box->setObjectName(name);
  box->setRange(0, max);
  box->setSuffix(suffix);
  box->setSpecialValueText(zeroText);
  return box;
}

}  // namespace

TfrmOptions::TfrmOptions(QWidget* parent)
    : QDialog(parent),
      speClipboardSeconds(CountBox("speClipboardSeconds", kMaxClipboardSeconds, " s", "Never")),
      speIdleLockMinutes(CountBox("speIdleLockMinutes", kMaxIdleLockMinutes, " min", "Never")),
      cbxLockWithScreenSaver(new QCheckBox("Lock when the session locks")),
      cmbEncryption(new QComboBox),
      lblEncryptionNote(new QLabel),
      speBackups(CountBox("speBackups", kMaxBackups, {}, "None")),
      cbxSaveAfterEveryChange(new QCheckBox("Save after every change")),
      cbxSaveBeforeLock(new QCheckBox("Save before locking")),
      cbxHidePasswords(new QCheckBox("Hide passwords in the site editor")) {
  form_style::ApplyDialogLook(this, "frmOptions", "Options");
  cbxLockWithScreenSaver->setObjectName("cbxLockWithScreenSaver");
  cmbEncryption->setObjectName("cmbEncryption");
  cbxSaveAfterEveryChange->setObjectName("cbxSaveAfterEveryChange");
  cbxSaveBeforeLock->setObjectName("cbxSaveBeforeLock");
  cbxHidePasswords->setObjectName("cbxHidePasswords");
  for (const TEncryptionChoice& choice : EncryptionChoices()) {
    cmbEncryption->addItem(QString::fromUtf8(choice.name));
  }
  lblEncryptionNote->setObjectName("lblEncryptionNote");
  lblEncryptionNote->setWordWrap(true);
  connect(cmbEncryption, &QComboBox::currentIndexChanged, this, &TfrmOptions::ShowEncryptionNote);
  ShowEncryptionNote(cmbEncryption->currentIndex());

  auto* form = new QFormLayout;
  form->addRow("Clear the clipboard after:", speClipboardSeconds);
  form->addRow("Lock after idle time:", speIdleLockMinutes);
  form->addRow({}, cbxLockWithScreenSaver);
  form->addRow("Encryption of new archives:", cmbEncryption);
  form->addRow({}, lblEncryptionNote);
  form->addRow("Backups kept by a save:", speBackups);
  form->addRow({}, cbxSaveAfterEveryChange);
  form->addRow({}, cbxSaveBeforeLock);
  form->addRow({}, cbxHidePasswords);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(mrOk); });
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(mrCancel); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmOptions::SetOptions(const TOptions& options) {
  speClipboardSeconds->setValue(options.clipboardSeconds);
  speIdleLockMinutes->setValue(options.idleLockMinutes);
  cbxLockWithScreenSaver->setChecked(options.lockWithScreenSaver);
  cmbEncryption->setCurrentIndex(static_cast<int>(options.encryption));
  speBackups->setValue(options.backups);
  cbxSaveAfterEveryChange->setChecked(options.saveAfterEveryChange);
  cbxSaveBeforeLock->setChecked(options.saveBeforeLock);
  cbxHidePasswords->setChecked(options.hidePasswordsInEditor);
}

TOptions TfrmOptions::Options() const {
  TOptions options;
  options.clipboardSeconds = speClipboardSeconds->value();
  options.idleLockMinutes = speIdleLockMinutes->value();
  options.lockWithScreenSaver = cbxLockWithScreenSaver->isChecked();
  options.encryption = static_cast<TNewEncryption>(std::max(0, cmbEncryption->currentIndex()));
  options.backups = speBackups->value();
  options.saveAfterEveryChange = cbxSaveAfterEveryChange->isChecked();
  options.saveBeforeLock = cbxSaveBeforeLock->isChecked();
  options.hidePasswordsInEditor = cbxHidePasswords->isChecked();
  return options;
}

void TfrmOptions::ShowEncryptionNote(int index) {
  const auto choices = EncryptionChoices();
  if (index < 0 || static_cast<std::size_t>(index) >= choices.size()) return;
  lblEncryptionNote->setText(QString::fromUtf8(choices[static_cast<std::size_t>(index)].note));
}

int ExecuteOptions(TOptions& options) {
  const std::unique_ptr<TfrmOptions, form_style::DeleteLater> form(new TfrmOptions);
  form->SetOptions(options);
  if (form->exec() != mrOk) return mrCancel;
  options = form->Options();
  return mrOk;
}
