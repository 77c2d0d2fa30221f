#pragma once
// The generator dialog's words mode: a group beside the character choices
// that switches to passphrases and holds their number of words, separator,
// capitals and digit. It keeps its choices under the dialog's settings keys.

#include <QGroupBox>
#include <QString>

#include "generator/passphrase.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

class TGenWordsPanel : public QGroupBox {
  Q_OBJECT

 public:
  static constexpr int kWidth = 180;

  TGenWordsPanel(QWidget* parent, const QString& formName);

  bool UseWords() const;
  TPassphraseOptions Options() const;
  // The controls that take the focus, in tab order.
  QList<QWidget*> TabOrder() const;

  void LoadSettings();
  void SaveSettings();

 signals:
  void Changed();

 private:
  void cbxWordsClick();

  QString FFormName;
  QCheckBox* cbxWords = nullptr;
  QLabel* lblWords = nullptr;
  QSpinBox* speWords = nullptr;
  QLabel* lblSeparator = nullptr;
  QLineEdit* edtSeparator = nullptr;
  QCheckBox* cbxCapitals = nullptr;
  QCheckBox* cbxDigit = nullptr;
  QLabel* lblWordList = nullptr;
};
