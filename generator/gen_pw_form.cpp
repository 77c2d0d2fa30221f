#include "generator/gen_pw_form.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "forms/form_style.h"
#include "forms/strength_meter.h"
#include "generator/gen_stored_choices.h"
#include "generator/gen_words_panel.h"
#include "generator/generator_entropy.h"
#include "generator/spin_edit.h"
#include "support/form_rtns.h"
#include "support/modal_result.h"
#include "support/secret_clipboard.h"
#include "support/state.h"
#include "support/text_convert.h"

using form_style::Place;
using form_style::SpeedButton;

namespace {

const QString kFormName = QStringLiteral("TfrmGenPW");
constexpr int kDefaultLength = 9;
// The words mode and the meter take a column to the right of the character
// controls, which keep their places.
constexpr int kCharactersWidth = 450;
constexpr int kColumnLeft = kCharactersWidth - 1;
const QColor kLegendColour(0, 0, 128);  // navy

}  // namespace

TfrmGenPW::TfrmGenPW(QWidget* parent) : QDialog(parent) {
  form_style::ApplyDialogLook(this, kFormName, QStringLiteral("Generate a password"));
  setFixedSize(kColumnLeft + TGenWordsPanel::kWidth + 9, 337);
  move(445, 334);
  CreateControls();
  SetTabOrder();
  ConnectHandlers();

  LoadSettings();
  cbxSpecialCharsClick();
  cbxTemplateClick();
  UpdateBits();
}

TfrmGenPW::~TfrmGenPW() { SaveSettings(); }

void TfrmGenPW::reject() { btnCancelClick(); }

void TfrmGenPW::CreateControls() {
  CreateParmsGroup();
  spbGenPW = SpeedButton(this, "spbGenPW", IconRole::Generate,
                         QStringLiteral("Generate a password"), 16, 239);
  edtPassword = Place<QLineEdit>(this, "edtPassword", 48, 239, 353, 21);
  spbClipboard = SpeedButton(this, "spbClipboard", IconRole::Clipboard,
                             QStringLiteral("Copy password to clipboard"), 410, 242);
  // A bevel that shows only its top line: a sunken horizontal rule.
  bvlWindowDressing = Place<QFrame>(this, "bvlWindowDressing", 16, 272, 417, 2);
  bvlWindowDressing->setFrameShape(QFrame::HLine);
  bvlWindowDressing->setFrameShadow(QFrame::Sunken);
  btnOK = Place<QPushButton>(this, "btnOK", QStringLiteral("&OK"), 272, 295, 75, 25);
  btnOK->setDefault(true);
  btnCancel = Place<QPushButton>(this, "btnCancel", QStringLiteral("&Cancel"), 358, 295, 75, 25);
  gbxWords = new TGenWordsPanel(this, kFormName);
  gbxWords->setGeometry(kColumnLeft, 8, TGenWordsPanel::kWidth, 218);
  pgbStrength =
      Place<TStrengthMeter>(this, "pgbStrength", kColumnLeft, 239, TGenWordsPanel::kWidth, 21);
}

void TfrmGenPW::CreateParmsGroup() {
  gbxParms = Place<QGroupBox>(this, "gbxParms", 8, 8, 433, 218);
  CreateCharactersGroup();
  lblLgth = Place<QLabel>(gbxParms, "lblLgth", QStringLiteral("Length"), 13, 170, 38, 13);
  speLength = Place<TSpinEdit>(gbxParms, "speLength", 13, 184, 58, 22);
  speLength->setRange(1, 32);
  speLength->setValue(kDefaultLength);
  lblLgth->setBuddy(speLength);
  cbxTemplate =
      Place<QCheckBox>(gbxParms, "cbxTemplate", QStringLiteral("Use template"), 216, 21, 101, 17);
  edtTemplate = Place<QLineEdit>(gbxParms, "edtTemplate", 232, 45, 190, 21);
  CreateTemplateGroup();
}

void TfrmGenPW::CreateCharactersGroup() {
  gbxCharacters = Place<QGroupBox>(gbxParms, "gbxCharacters",
                                   QStringLiteral("Characters to include"), 13, 16, 188, 145);
  cbxUpperCase = Place<QCheckBox>(gbxCharacters, "cbxUpperCase", QStringLiteral("Uppercase (A-Z)"),
                                  15, 25, 155, 17);
  cbxLowerCase = Place<QCheckBox>(gbxCharacters, "cbxLowerCase", QStringLiteral("Lowercase (a-z)"),
                                  15, 46, 155, 17);
  cbxNumbers = Place<QCheckBox>(gbxCharacters, "cbxNumbers", QStringLiteral("Numbers (0-9)"), 15,
                                68, 155, 17);
  cbxSpecialChars = Place<QCheckBox>(gbxCharacters, "cbxSpecialChars", QStringLiteral("Special"),
                                     15, 90, 155, 17);
  edtSpecial =
      Place<QLineEdit>(gbxCharacters, "edtSpecial", QStringLiteral("#$%*+?"), 32, 112, 134, 21);
}

void TfrmGenPW::CreateTemplateGroup() {
  gbxTemplate = Place<QGroupBox>(gbxParms, "gbxTemplate", QStringLiteral("Template characters"),
                                 232, 70, 190, 135);
  lblCharacters = Place<QLabel>(gbxTemplate, "lblCharacters",
                                QStringLiteral("A\na\nC\nc\nV\nv\n9\n$"), 16, 20, 9, 104);
  lblDescription = Place<QLabel>(
      gbxTemplate, "lblDescription",
      QStringLiteral("Uppercase alpha\nLowercase alpha\nUppercase consonant\nLowercase consonant\n"
                     "Uppercase vowel\nLowercase vowel\nNumber\nSpecial"),
      35, 20, 122, 104);
  for (QLabel* legend : {lblCharacters, lblDescription}) {
    legend->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = legend->palette();
    palette.setColor(QPalette::WindowText, kLegendColour);
    legend->setPalette(palette);
  }
}

void TfrmGenPW::SetTabOrder() {
  QList<QWidget*> order = {cbxUpperCase, cbxLowerCase, cbxNumbers,  cbxSpecialChars,
                           edtSpecial,   speLength,    cbxTemplate, edtTemplate};
  order += gbxWords->TabOrder();
  order += {edtPassword, btnOK, btnCancel};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TfrmGenPW::ConnectHandlers() {
  connect(cbxSpecialChars, &QCheckBox::toggled, this, &TfrmGenPW::cbxSpecialCharsClick);
  connect(cbxTemplate, &QCheckBox::toggled, this, &TfrmGenPW::cbxTemplateClick);
  connect(spbGenPW, &QToolButton::clicked, this, &TfrmGenPW::spbGenPWClick);
  connect(spbClipboard, &QToolButton::clicked, this, &TfrmGenPW::spbClipboardClick);
  connect(btnOK, &QPushButton::clicked, this, &TfrmGenPW::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmGenPW::btnCancelClick);
  // The meter follows every choice.
  const QList<QCheckBox*> choices = ClassBoxes() << cbxTemplate;
  for (QCheckBox* box : choices) connect(box, &QCheckBox::toggled, this, &TfrmGenPW::UpdateBits);
  for (QLineEdit* edit : {edtSpecial, edtTemplate})
    connect(edit, &QLineEdit::textChanged, this, &TfrmGenPW::UpdateBits);
  connect(speLength, &QSpinBox::valueChanged, this, &TfrmGenPW::UpdateBits);
  connect(gbxWords, &TGenWordsPanel::Changed, this, &TfrmGenPW::UpdateBits);
}

QList<QCheckBox*> TfrmGenPW::ClassBoxes() const {
  return {cbxUpperCase, cbxLowerCase, cbxNumbers, cbxSpecialChars};
}

void TfrmGenPW::LoadSettings() {
  FormRtn().SetPlacement(this, State().GetValue(kFormName));
  for (QCheckBox* box : ClassBoxes()) LoadCheck(box, kFormName, true);
  LoadCheck(cbxTemplate, kFormName, false);
  // An absent key empties the boxes, the special characters' box included.
  for (QLineEdit* edit : {edtSpecial, edtTemplate})
    edit->setText(State().GetValue(ChoiceKey(kFormName, edit, "Text")));
  LoadNumber(speLength, kFormName, kDefaultLength);
  gbxWords->LoadSettings();
}

void TfrmGenPW::SaveSettings() {
  State().SetValue(kFormName, FormRtn().GetPlacement(this));
  for (QCheckBox* box : ClassBoxes()) SaveCheck(box, kFormName);
  SaveCheck(cbxTemplate, kFormName);
  for (QLineEdit* edit : {edtSpecial, edtTemplate})
    State().SetValue(ChoiceKey(kFormName, edit, "Text"), edit->text());
  SaveNumber(speLength, kFormName);
  gbxWords->SaveSettings();
}

void TfrmGenPW::cbxSpecialCharsClick() { edtSpecial->setEnabled(cbxSpecialChars->isChecked()); }

void TfrmGenPW::cbxTemplateClick() { edtTemplate->setEnabled(cbxTemplate->isChecked()); }

TGenOptions TfrmGenPW::CurrentOptions() const {
  TGenOptions options;
  options.useWords = gbxWords->UseWords();
  options.words = gbxWords->Options();
  options.useTemplate = cbxTemplate->isChecked();
  options.templ = ToBytes(edtTemplate->text());
  options.upper = cbxUpperCase->isChecked();
  options.lower = cbxLowerCase->isChecked();
  options.numbers = cbxNumbers->isChecked();
  options.special = cbxSpecialChars->isChecked();
  // Read even when the box is disabled: templates use it for "$".
  options.specialChars = ToBytes(edtSpecial->text());
  options.length = speLength->value();
  return options;
}

void TfrmGenPW::UpdateBits() { pgbStrength->SetBits(GeneratedEntropyBits(CurrentOptions())); }

void TfrmGenPW::spbGenPWClick() {
  // A length typed but not yet confirmed counts as the spin box shows it.
  speLength->interpretText();
  const TGenOptions options = CurrentOptions();
  UpdateBits();
  FLastPassword = ToQString(GeneratePassword(options));
  edtPassword->setText(FLastPassword);
}

void TfrmGenPW::spbClipboardClick() {
  edtPassword->selectAll();
  SecretClipboard().Copy(edtPassword->text());
}

void TfrmGenPW::btnOKClick() { done(mrOk); }

void TfrmGenPW::btnCancelClick() { done(mrCancel); }
