#pragma once
// What the two archive password prompts share: their look, the masked
// password box under its caption, OK and Cancel, centring on the screen
// when shown, and the password accepted with OK.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class TPasswordPrompt : public QDialog {
  Q_OBJECT

 public:
  // The accepted password, exactly as typed; empty unless closed with OK.
  QString Password() const { return FPassword; }

  void reject() override;

 protected:
  TPasswordPrompt(QWidget* parent, const QString& objectName, const QString& caption);

  // The button row at the given top, its clicks connected.
  void AddButtons(int top);
  // Whether OK may take the password; an empty one is refused.
  virtual bool PasswordAcceptable();
  // Shows the warning and hands the password box the focus; false.
  bool Refuse(const QString& warning);

  void showEvent(QShowEvent* event) override;

  QLabel* lblPW = nullptr;
  QLineEdit* edtPW = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;

 private:
  void btnOKClick();
  void btnCancelClick();

  QString FPassword;
};
