#pragma once
// Asks for the password of an archive being read.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmOpenPW : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmOpenPW(QWidget* parent = nullptr);

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
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
};
