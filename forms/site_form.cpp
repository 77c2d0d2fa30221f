#include "forms/site_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <array>

#include "core/pw_rec.h"
#include "core/totp.h"
#include "forms/form_style.h"
#include "forms/reveal_action.h"
#include "forms/site_field_check.h"
#include "forms/strength_meter.h"
#include "generator/gen_pw_dialog.h"
#include "support/form_rtns.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/options.h"
#include "support/secret_clipboard.h"
#include "support/shell_open.h"
#include "support/state.h"
#include "support/text_convert.h"

using form_style::Place;

namespace {

const QString kFormName = QStringLiteral("TfrmSite");

QLabel* Caption(QWidget* parent, const char* name, const QString& text, int left, int top,
                int width) {
  auto* label = Place<QLabel>(parent, name, left, top, width, 13);
  label->setText(text);
  return label;
}

// The record's notes break lines with CR LF; the memo works with LF.
QString NoteForMemo(const std::string& note) {
  QString text = ToQString(note);
  text.remove(u'\r');
  return text;
}

}  // namespace

TfrmSite::TfrmSite(QWidget* parent) : QDialog(parent) {
  form_style::ApplyDialogLook(this, kFormName, QStringLiteral("Site"));
  setFixedSize(329, 386);
  move(395, 307);
  CreateControls();
  SetTabOrder();
  ConnectHandlers();
  FormRtn().SetPlacement(this, State().GetValue(kFormName));
}

TfrmSite::~TfrmSite() { State().SetValue(kFormName, FormRtn().GetPlacement(this)); }

void TfrmSite::CreateControls() {
  lblSite = Caption(this, "lblSite", QStringLiteral("Site name / description"), 16, 16, 133);
  edtSite = Place<QLineEdit>(this, "edtSite", 16, 32, 295, 21);
  lblURL = Caption(this, "lblURL", QStringLiteral("Site URL"), 16, 64, 48);
  edtURL = Place<QLineEdit>(this, "edtURL", 16, 80, 265, 21);
  spbLaunchURL = form_style::SpeedButton(this, "spbLaunchURL", IconRole::LaunchUrl,
                                         QStringLiteral("Launch browser to this URL"), 288, 80);
  lblUser = Caption(this, "lblUser", QStringLiteral("User name"), 16, 112, 62);
  edtUser = Place<QLineEdit>(this, "edtUser", 16, 128, 295, 21);
  lblPW = Caption(this, "lblPW", QStringLiteral("Password"), 16, 160, 54);
  spbGenPW = form_style::SpeedButton(this, "spbGenPW", IconRole::Generate,
                                     QStringLiteral("Generate a password"), 16, 176);
  edtPW = Place<QLineEdit>(this, "edtPW", 48, 176, 233, 21);
  AddRevealAction(edtPW, "actShowPW", !HidePasswordsInEditor());
  spbClipboard = form_style::SpeedButton(this, "spbClipboard", IconRole::Clipboard,
                                         QStringLiteral("Copy password to clipboard"), 288, 176);
  // A thin bar in the gap under the password box; its hint gives the bits.
  pgbStrength = Place<TStrengthMeter>(this, "pgbStrength", 48, 199, 233, 6);
  pgbStrength->setTextVisible(false);
  lblNote = Caption(this, "lblNote", QStringLiteral("Notes"), 16, 208, 32);
  mmoNote = Place<QPlainTextEdit>(this, "mmoNote", 16, 224, 295, 105);
  mmoNote->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  mmoNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mmoNote->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mmoNote->setTabChangesFocus(true);
  lblSite->setBuddy(edtSite);
  lblURL->setBuddy(edtURL);
  lblUser->setBuddy(edtUser);
  lblPW->setBuddy(edtPW);
  lblNote->setBuddy(mmoNote);
  CreateButtons();
}

void TfrmSite::CreateButtons() {
  btnSetupTotp = Place<QPushButton>(this, "btnSetupTotp", 16, 344, 128, 25);
  btnSetupTotp->setText(QStringLiteral("Set up one-time code..."));
  btnOK = Place<QPushButton>(this, "btnOK", 152, 344, 75, 25);
  btnOK->setText(QStringLiteral("&OK"));
  btnOK->setDefault(true);
  btnCancel = Place<QPushButton>(this, "btnCancel", 240, 344, 75, 25);
  btnCancel->setText(QStringLiteral("&Cancel"));
}

void TfrmSite::SetTabOrder() {
  const QList<QWidget*> order = {edtSite, edtURL, edtUser, edtPW, mmoNote, btnSetupTotp, btnOK,
                                 btnCancel};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  edtSite->setFocus();
}

void TfrmSite::ConnectHandlers() {
  for (QLineEdit* edit : {edtSite, edtURL, edtUser, edtPW})
    connect(edit, &QLineEdit::textChanged, this, &TfrmSite::EditChange);
  connect(mmoNote, &QPlainTextEdit::textChanged, this, &TfrmSite::EditChange);
  connect(edtPW, &QLineEdit::textChanged, this, &TfrmSite::UpdateStrength);
  connect(spbLaunchURL, &QToolButton::clicked, this, &TfrmSite::spbLaunchURLClick);
  connect(spbGenPW, &QToolButton::clicked, this, &TfrmSite::spbGenPWClick);
  connect(spbClipboard, &QToolButton::clicked, this, &TfrmSite::spbClipboardClick);
  connect(btnSetupTotp, &QPushButton::clicked, this, &TfrmSite::btnSetupTotpClick);
  connect(btnOK, &QPushButton::clicked, this, &TfrmSite::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmSite::btnCancelClick);
}

void TfrmSite::LoadRecord(TqelPwRec& rec) {
  FRec = &rec;
  edtSite->setText(ToQString(rec.Site()));
  edtURL->setText(ToQString(rec.URL()));
  edtUser->setText(ToQString(rec.User()));
  edtPW->setText(ToQString(rec.PW()));
  mmoNote->setPlainText(NoteForMemo(rec.Note()));
  // Filling the boxes counted as changes; the dialog opens unchanged.
  btnOK->setEnabled(false);
}

void TfrmSite::reject() { btnCancelClick(); }

void TfrmSite::EditChange() { btnOK->setEnabled(true); }

void TfrmSite::UpdateStrength() { pgbStrength->EstimatePassword(edtPW->text()); }

void TfrmSite::spbLaunchURLClick() {
  // Handed on as typed; an empty box is the opener's to ignore.
  ShellOpen(edtURL->text());
}

void TfrmSite::spbGenPWClick() {
  QString password;
  if (ExecuteGenPW(password) != mrOk) return;
  edtPW->setText(password);
  EditChange();
}

void TfrmSite::spbClipboardClick() {
  edtPW->selectAll();
  SecretClipboard().Copy(edtPW->text());
}

// Takes a URI or secret, shows the code it gives now so that the user can
// compare it with the site's, and only then writes it into the notes.
void TfrmSite::btnSetupTotpClick() {
  QString text;
  if (const auto found = FindTotpText(ToBytes(mmoNote->toPlainText())))
    text = ToQString(found->str());
  if (!MsgDlg().InputQuery(QStringLiteral("Set up one-time code"),
                           QStringLiteral("otpauth:// URI or Base32 secret:"), text))
    return;
  const TSecretBytes bytes(ToBytes(text));
  std::string code;
  int secondsLeft = 0;
  try {
    const TTotpParams params = ParseTotp(bytes.view());
    const std::int64_t now = UnixNow();
    code = TotpCode(params, now);
    secondsLeft = TotpSecondsLeft(params, now);
  } catch (const ETotpError& error) {
    MsgDlg().ShowError(QString::fromUtf8(error.what()));
    return;
  }
  const QString question =
      QStringLiteral("The code now is %1 (for %2 s more); the site accepts it if the secret is "
                     "right.  Put the secret into the notes?")
          .arg(QString::fromStdString(code))
          .arg(secondsLeft);
  if (!MsgDlg().IsYes(question)) return;
  mmoNote->setPlainText(
      ToQString(WithTotpLine(ToBytes(mmoNote->toPlainText()), bytes.view())));
}

void TfrmSite::FocusField(QWidget* field) { field->setFocus(Qt::OtherFocusReason); }

// Shows why the input cannot be saved and puts the focus on the field;
// true when something was refused.
bool TfrmSite::RefuseInput() {
  if (edtSite->text().isEmpty()) {
    MsgDlg().ShowError(QStringLiteral("Site name / Description must be filled"));
    FocusField(edtSite);
    return true;
  }
  const auto problem =
      FindFieldProblem({edtSite->text(), edtURL->text(), edtUser->text(), edtPW->text()});
  if (!problem) return false;
  MsgDlg().ShowError(problem->message);
  // The fields in the order of SiteField.
  const std::array<QLineEdit*, 4> fields = {edtSite, edtURL, edtUser, edtPW};
  FocusField(fields[static_cast<std::size_t>(problem->field)]);
  return true;
}

void TfrmSite::btnOKClick() {
  if (!FRec || RefuseInput()) return;
  FRec->SetSite(ToBytes(edtSite->text()));
  FRec->SetURL(ToBytes(edtURL->text()));
  FRec->SetUser(ToBytes(edtUser->text()));
  FRec->SetPW(ToBytes(edtPW->text()));
  FRec->SetNote(ToBytes(mmoNote->toPlainText()));
  done(mrOk);
}

void TfrmSite::btnCancelClick() { done(mrCancel); }
