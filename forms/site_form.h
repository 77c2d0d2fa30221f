#pragma once
// The site editor window: the five fields of one site, with buttons to
// open the URL, generate a password and copy the password, an eye that
// shows or masks the password (Ctrl+H) and a button that puts a one-time
// code's secret into the notes. It writes the record only on OK and
// remembers its position.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TqelPwRec;
class TStrengthMeter;

class TfrmSite : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmSite(QWidget* parent = nullptr);
  // Stores the position in the settings store.
  ~TfrmSite() override;

  // Shows the record's fields; OK stays disabled until the first change.
  // The record is the caller's and must outlive the dialog's modal run.
  void LoadRecord(TqelPwRec& rec);

  // Esc and the close box end the dialog with mrCancel.
  void reject() override;

 private:
  void CreateControls();
  void CreateButtons();
  void SetTabOrder();
  void ConnectHandlers();
  bool RefuseInput();
  void FocusField(QWidget* field);

  void EditChange();
  void UpdateStrength();
  void spbLaunchURLClick();
  void spbGenPWClick();
  void spbClipboardClick();
  void btnSetupTotpClick();
  void btnOKClick();
  void btnCancelClick();

  TqelPwRec* FRec = nullptr;

  QLabel* lblSite = nullptr;
  QLineEdit* edtSite = nullptr;
  QLabel* lblURL = nullptr;
  QLineEdit* edtURL = nullptr;
  QToolButton* spbLaunchURL = nullptr;
  QLabel* lblUser = nullptr;
  QLineEdit* edtUser = nullptr;
  QLabel* lblPW = nullptr;
  QToolButton* spbGenPW = nullptr;
  QLineEdit* edtPW = nullptr;
  QToolButton* spbClipboard = nullptr;
  TStrengthMeter* pgbStrength = nullptr;
  QLabel* lblNote = nullptr;
  QPlainTextEdit* mmoNote = nullptr;
  QPushButton* btnSetupTotp = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
};
