#pragma once
// Asks for a new archive password twice.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmSavePW : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmSavePW(QWidget* parent = nullptr);

  // The accepted password, exactly as typed; empty unless closed with OK.
  QString Password() const { return FPassword; }

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void btnOKClick();
  void btnCancelClick();

  QString FPassword;
  QLabel* lblPW = nullptr;
  QLineEdit* edtPW = nullptr;
  QLabel* lblConfirm = nullptr;
  QLineEdit* edtConfirm = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
};
