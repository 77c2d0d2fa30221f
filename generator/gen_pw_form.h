#pragma once
// The password generator window: the choices of character classes or a
// template, beside them the words mode, a Generate button, the result box, a
// clipboard button and a meter with the entropy of what the choices make. It
// remembers its choices and position in the settings store.

#include <QDialog>
#include <QString>

#include "generator/generator_engine.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TGenWordsPanel;
class TSpinEdit;
class TStrengthMeter;

class TfrmGenPW : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmGenPW(QWidget* parent = nullptr);
  // Saves the choices and the position, however the dialog was closed.
  ~TfrmGenPW() override;

  // The password Generate produced last; empty until it is pressed. This,
  // not the box's (editable) text, is the dialog's result.
  QString LastPassword() const { return FLastPassword; }

  // Esc and the close box end the dialog with mrCancel.
  void reject() override;

 private:
  void CreateControls();
  void CreateParmsGroup();
  void CreateCharactersGroup();
  void CreateTemplateGroup();
  void SetTabOrder();
  void ConnectHandlers();

  // The choices as the controls show them.
  TGenOptions CurrentOptions() const;
  void UpdateBits();

  // The character-class boxes, in their order.
  QList<QCheckBox*> ClassBoxes() const;
  void LoadSettings();
  void SaveSettings();

  void cbxSpecialCharsClick();
  void cbxTemplateClick();
  void spbGenPWClick();
  void spbClipboardClick();
  void btnOKClick();
  void btnCancelClick();

  QString FLastPassword;

  QGroupBox* gbxParms = nullptr;
  QGroupBox* gbxCharacters = nullptr;
  QCheckBox* cbxUpperCase = nullptr;
  QCheckBox* cbxLowerCase = nullptr;
  QCheckBox* cbxNumbers = nullptr;
  QCheckBox* cbxSpecialChars = nullptr;
  QLineEdit* edtSpecial = nullptr;
  QLabel* lblLgth = nullptr;
  TSpinEdit* speLength = nullptr;
  QCheckBox* cbxTemplate = nullptr;
  QLineEdit* edtTemplate = nullptr;
  QGroupBox* gbxTemplate = nullptr;
  QLabel* lblCharacters = nullptr;
  QLabel* lblDescription = nullptr;
  QToolButton* spbGenPW = nullptr;
  QLineEdit* edtPassword = nullptr;
  QToolButton* spbClipboard = nullptr;
  QFrame* bvlWindowDressing = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  TGenWordsPanel* gbxWords = nullptr;
  TStrengthMeter* pgbStrength = nullptr;
};
