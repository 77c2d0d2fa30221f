#include "generator/gen_words_panel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "forms/form_style.h"
#include "generator/gen_stored_choices.h"
#include "support/state.h"
#include "support/text_convert.h"

using form_style::Place;

namespace {

constexpr int kDefaultWords = TPassphraseOptions{}.words;
const QString kDefaultSeparator = QStringLiteral(" ");

// What a separator cannot hold is dropped rather than refused: a paste may
// bring a tab or line break along.
QString CleanSeparator(QString text) {
  text.remove(u'\t');
  text.remove(u'\r');
  text.remove(u'\n');
  return text;
}

}  // namespace

TGenWordsPanel::TGenWordsPanel(QWidget* parent, const QString& formName)
    : QGroupBox(parent), FFormName(formName) {
  setObjectName(QStringLiteral("gbxWords"));
  setTitle(QStringLiteral("Passphrase"));
  cbxWords = Place<QCheckBox>(this, "cbxWords", QStringLiteral("Use &words"), 12, 21, 160, 17);
  lblWords = Place<QLabel>(this, "lblWords", QStringLiteral("Words"), 28, 45, 60, 13);
  speWords = Place<QSpinBox>(this, "speWords", 28, 60, 58, 22);
  speWords->setRange(kMinPassphraseWords, kMaxPassphraseWords);
  speWords->setValue(kDefaultWords);
  lblWords->setBuddy(speWords);
  lblSeparator = Place<QLabel>(this, "lblSeparator", QStringLiteral("Separator"), 28, 92, 80, 13);
  edtSeparator = Place<QLineEdit>(this, "edtSeparator", kDefaultSeparator, 28, 107, 58, 21);
  lblSeparator->setBuddy(edtSeparator);
  cbxCapitals = Place<QCheckBox>(this, "cbxCapitals", QStringLiteral("Capitals"), 28, 138, 140, 17);
  cbxDigit = Place<QCheckBox>(this, "cbxDigit", QStringLiteral("A digit"), 28, 160, 140, 17);
  lblWordList = Place<QLabel>(
      this, "lblWordList", QStringLiteral("EFF large word list,\n7,776 words"), 12, 184, 160, 28);

  connect(cbxWords, &QCheckBox::toggled, this, &TGenWordsPanel::cbxWordsClick);
  connect(speWords, &QSpinBox::valueChanged, this, &TGenWordsPanel::Changed);
  connect(edtSeparator, &QLineEdit::textChanged, this, &TGenWordsPanel::Changed);
  connect(cbxCapitals, &QCheckBox::toggled, this, &TGenWordsPanel::Changed);
  connect(cbxDigit, &QCheckBox::toggled, this, &TGenWordsPanel::Changed);
  cbxWordsClick();
}

bool TGenWordsPanel::UseWords() const { return cbxWords->isChecked(); }

TPassphraseOptions TGenWordsPanel::Options() const {
  TPassphraseOptions options;
  options.words = speWords->value();
  options.separator = ToBytes(CleanSeparator(edtSeparator->text()));
  options.capitals = cbxCapitals->isChecked();
  options.digit = cbxDigit->isChecked();
  return options;
}

QList<QWidget*> TGenWordsPanel::TabOrder() const {
  return {cbxWords, speWords, edtSeparator, cbxCapitals, cbxDigit};
}

void TGenWordsPanel::cbxWordsClick() {
  for (QWidget* control : {static_cast<QWidget*>(speWords), static_cast<QWidget*>(edtSeparator),
                           static_cast<QWidget*>(cbxCapitals), static_cast<QWidget*>(cbxDigit)})
    control->setEnabled(UseWords());
  emit Changed();
}

void TGenWordsPanel::LoadSettings() {
  LoadCheck(cbxWords, FFormName, false);
  LoadNumber(speWords, FFormName, kDefaultWords);
  // An empty separator is stored as no key, so it comes back as the default.
  const QString separator = State().GetValue(ChoiceKey(FFormName, edtSeparator, "Text"));
  edtSeparator->setText(separator.isEmpty() ? kDefaultSeparator : separator);
  for (QCheckBox* box : {cbxCapitals, cbxDigit}) LoadCheck(box, FFormName, false);
}

void TGenWordsPanel::SaveSettings() {
  SaveCheck(cbxWords, FFormName);
  SaveNumber(speWords, FFormName);
  State().SetValue(ChoiceKey(FFormName, edtSeparator, "Text"), edtSeparator->text());
  for (QCheckBox* box : {cbxCapitals, cbxDigit}) SaveCheck(box, FFormName);
}
