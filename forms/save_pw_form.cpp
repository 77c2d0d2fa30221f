#include "forms/save_pw_form.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "forms/encryption_choices.h"
#include "forms/password_box.h"
#include "forms/save_pw_strength.h"

using form_style::Place;

namespace {

QLabel* Caption(QWidget* parent, const char* name, const QString& text, int top) {
  auto* label = Place<QLabel>(parent, name, 16, top, 0, 0);
  label->setText(text);
  label->adjustSize();
  return label;
}

// The encryption choice sits to the right of the password controls, which
// keep their places; the dialog is only widened for it.
constexpr int kDesignedWidth = 241;
constexpr int kChoiceWidth = 200;
constexpr int kChoiceLeft = kDesignedWidth - 8;
constexpr int kDialogWidth = kChoiceLeft + kChoiceWidth + 16;
// The strength panel runs below both, across the dialog, under the choice
// where that reaches lower than the designed controls.
constexpr int kDesignedHeight = 170;
constexpr int kBackupsNoteTop = 166;
constexpr int kStrengthTop = kBackupsNoteTop + 30;

QLabel* Note(QWidget* parent, const char* name, const QString& text, QRect bounds) {
  auto* label =
      Place<QLabel>(parent, name, bounds.left(), bounds.top(), bounds.width(), bounds.height());
  label->setText(text);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

TfrmSavePW::TfrmSavePW(QWidget* parent)
    : TPasswordPrompt(parent, QStringLiteral("TfrmSavePW"), QStringLiteral("New password")) {
  setFixedSize(kDialogWidth, kStrengthTop + TSavePwStrength::kHeight);
  lblConfirm = Caption(this, "lblConfirm", QStringLiteral("Confirm password"), 72);
  edtConfirm = password_box::MaskedEdit(this, "edtConfirm", 16, 88);
  lblConfirm->setBuddy(edtConfirm);
  AddButtons(128);
  setTabOrder(edtPW, edtConfirm);
  setTabOrder(edtConfirm, btnOK);
  setTabOrder(btnOK, btnCancel);
  BuildEncryptionChoice();
  setTabOrder(btnCancel, rbtTraditional);
  setTabOrder(rbtTraditional, rbtAes256);
  setTabOrder(rbtAes256, rbtHardened);
  pnlStrength = new TSavePwStrength(this, kDialogWidth);
  pnlStrength->setGeometry(0, kStrengthTop, kDialogWidth, TSavePwStrength::kHeight);
  edtPW->setFocus();
  connect(edtPW, &QLineEdit::textChanged, this, &TfrmSavePW::UpdateStrength);
  connect(rbtAes256, &QRadioButton::toggled, this, &TfrmSavePW::UpdateStrength);
  connect(rbtHardened, &QRadioButton::toggled, this, &TfrmSavePW::UpdateStrength);
  connect(pnlStrength, &TSavePwStrength::PassphraseMade, this, &TfrmSavePW::TakePassphrase);
  UpdateStrength();
}

void TfrmSavePW::BuildEncryptionChoice() {
  gbxEncryption = Place<QGroupBox>(this, "gbxEncryption", kChoiceLeft, 10, kChoiceWidth, 150);
  gbxEncryption->setTitle(QStringLiteral("Encryption"));
  const auto noteOf = [](TEncryption e) { return QString::fromUtf8(EncryptionChoiceOf(e).note); };
  rbtTraditional = Place<QRadioButton>(gbxEncryption, "rbtTraditional", 10, 18, 180, 17);
  rbtTraditional->setText(QStringLiteral("&Traditional"));
  Note(gbxEncryption, "lblTraditional", noteOf(TEncryption::Traditional), {28, 36, 164, 16});
  rbtAes256 = Place<QRadioButton>(gbxEncryption, "rbtAes256", 10, 56, 180, 17);
  rbtAes256->setText(QStringLiteral("&AES-256"));
  Note(gbxEncryption, "lblAes256", noteOf(TEncryption::Aes256), {28, 74, 164, 30});
  rbtHardened = Place<QRadioButton>(gbxEncryption, "rbtHardened", 10, 104, 180, 17);
  rbtHardened->setText(QStringLiteral("AES-256 &hardened"));
  Note(gbxEncryption, "lblHardened", noteOf(TEncryption::Aes256Hardened), {28, 122, 164, 26});
  // Backups are copies of the archive under its old password.
  Note(this, "lblBackups",
       QStringLiteral("Saving with the new password removes the archive's backups."),
       {kChoiceLeft, kBackupsNoteTop, kChoiceWidth, 30});
  rbtTraditional->setChecked(true);
}

bool TfrmSavePW::Aes256() const { return IsAes(ChosenEncryption()); }

void TfrmSavePW::SetAes256(bool aes256) { (aes256 ? rbtAes256 : rbtTraditional)->setChecked(true); }

TEncryption TfrmSavePW::ChosenEncryption() const {
  if (rbtHardened->isChecked()) return TEncryption::Aes256Hardened;
  return rbtAes256->isChecked() ? TEncryption::Aes256 : TEncryption::Traditional;
}

void TfrmSavePW::SetEncryption(TEncryption encryption) {
  if (encryption == TEncryption::Aes256Hardened) {
    rbtHardened->setChecked(true);
  } else {
    SetAes256(IsAes(encryption));
  }
}

void TfrmSavePW::UpdateStrength() { pnlStrength->Update(edtPW->text(), ChosenEncryption()); }

void TfrmSavePW::TakePassphrase(const QString& passphrase) {
  edtPW->setText(passphrase);
  edtConfirm->setText(passphrase);
}

bool TfrmSavePW::PasswordAcceptable() {
  if (!TPasswordPrompt::PasswordAcceptable()) return false;
  // Exact comparison: letter case and blanks count.
  return edtPW->text() == edtConfirm->text() ||
         Refuse(QStringLiteral("New password and confirmation must be the same"));
}
