#include "forms/export_form.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "forms/form_style.h"
#include "support/modal_result.h"

using form_style::Place;

TfrmExport::TfrmExport(const QStringList& formats, QWidget* parent) : QDialog(parent) {
  form_style::ApplyDialogLook(this, QStringLiteral("TfrmExport"), QStringLiteral("Export sites"));
  setFixedSize(300, 150);
  lblFormat = Place<QLabel>(this, "lblExportFormat", 16, 16, 268, 16);
  lblFormat->setText(QStringLiteral("&Format"));
  cbxExportFormat = Place<QComboBox>(this, "cbxExportFormat", 16, 34, 268, 23);
  cbxExportFormat->addItems(formats);
  lblFormat->setBuddy(cbxExportFormat);
  lblClearText = Place<QLabel>(this, "lblClearText", 16, 66, 268, 36);
  lblClearText->setWordWrap(true);
  lblClearText->setText(QStringLiteral(
      "The file holds every password in clear text: keep it safe and delete it when done."));
  btnOK = Place<QPushButton>(this, "btnExportOK", 128, 112, 75, 25);
  btnOK->setText(QStringLiteral("&OK"));
  btnOK->setDefault(true);
  btnCancel = Place<QPushButton>(this, "btnExportCancel", 209, 112, 75, 25);
  btnCancel->setText(QStringLiteral("&Cancel"));
  connect(btnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

int TfrmExport::Chosen() const { return cbxExportFormat->currentIndex(); }

void TfrmExport::SetChosen(int index) { cbxExportFormat->setCurrentIndex(index); }

void TfrmExport::showEvent(QShowEvent* event) {
  form_style::CentreOnScreen(this);
  QDialog::showEvent(event);
}
