#include "forms/about_form.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "forms/about_texts.h"
#include "forms/form_style.h"
#include "generator/word_list.h"
#include "support/icons.h"
#include "support/modal_result.h"
#include "support/version_info.h"

using form_style::Place;

namespace {

const QColor kAppNameColour(0, 0, 128);  // navy

// A label that sizes itself to its text.
QLabel* AutoLabel(QWidget* parent, const char* name, int left, int top) {
  auto* label = Place<QLabel>(parent, name, left, top, 0, 0);
  label->setText(QLatin1String(name));
  label->adjustSize();
  return label;
}

void SetAutoText(QLabel* label, const QString& text) {
  label->setText(text);
  label->adjustSize();
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent), FProgramFile(QCoreApplication::applicationFilePath()) {
  form_style::ApplyDialogLook(this, QStringLiteral("TfrmAbout"), QStringLiteral("About..."));
  setFixedSize(304, 217);
  CreateControls();
  connect(btnClose, &QPushButton::clicked, this, &TfrmAbout::btnCloseClick);
}

void TfrmAbout::CreateControls() {
  imgLogo = Place<QLabel>(this, "imgLogo", 16, 16, 32, 32);
  imgLogo->setAlignment(Qt::AlignCenter);
  imgLogo->setPixmap(VornixIcon(IconRole::App).pixmap(32, 32));
  lblAppName = Place<QLabel>(this, "lblAppName", 72, 30, 0, 0);
  QFont appNameFont = form_style::DialogFont();
  appNameFont.setPointSize(11);
  lblAppName->setFont(appNameFont);
  QPalette palette = lblAppName->palette();
  palette.setColor(QPalette::WindowText, kAppNameColour);
  lblAppName->setPalette(palette);
  SetAutoText(lblAppName, QStringLiteral("lblAppName"));
  lblBuild = AutoLabel(this, "lblBuild", 16, 64);
  lblCopyright = AutoLabel(this, "lblCopyright", 16, 88);
  lblDate = AutoLabel(this, "lblDate", 16, 112);
  lblSize = AutoLabel(this, "lblSize", 16, 136);
  // The credit the passphrase word list's licence asks for, in the gap
  // above the button.
  lblCredits = Place<QLabel>(this, "lblCredits", 16, 154, 0, 0);
  SetAutoText(lblCredits, QString::fromUtf8(kWordListCredit));
  lblCredits->setToolTip(QString::fromUtf8(kWordListCreditLong));
  btnClose = Place<QPushButton>(this, "btnClose", 114, 176, 75, 25);
  btnClose->setText(QStringLiteral("&Close"));
  btnClose->setDefault(true);
  btnClose->setFocus();
}

void TfrmAbout::showEvent(QShowEvent* event) {
  form_style::CentreOnScreen(this);
  if (!FShown) {
    FShown = true;
    FormShow();
  }
  QDialog::showEvent(event);
}

void TfrmAbout::FormShow() {
  const TqelVersionInfo version;
  SetAutoText(lblAppName, version.ProductName());
  SetAutoText(lblCopyright, version.LegalCopyright());
  SetAutoText(lblBuild, QStringLiteral("Build: %1").arg(version.FileVersion()));
  // Without the program file the texts set above stay.
  const auto file = AboutFileTexts(FProgramFile);
  if (!file) return;
  SetAutoText(lblDate, file->date);
  SetAutoText(lblSize, file->size);
}

void TfrmAbout::btnCloseClick() { done(mrOk); }

// Esc and the close box close the box like the Close button.
void TfrmAbout::reject() { btnCloseClick(); }
