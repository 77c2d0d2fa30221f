// The password generator dialog: stored choices, enabling rules, what
// Generate and Copy do, and what reaches the caller.

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <optional>

#include "forms/strength_meter.h"
#include "generator/gen_pw_dialog.h"
#include "generator/gen_pw_form.h"
#include "support/modal_result.h"
#include "support/state.h"
#include "tests/forms/dialog_test.h"

namespace {

const QString kPrefix = QStringLiteral("TfrmGenPW");

// 450 x 337 as laid out, widened by the column of the words mode and the
// meter.
const QSize kSize(638, 337);

QString Key(const char* suffix) { return kPrefix + QLatin1String(suffix); }

bool Checked(QWidget* form, const char* name) {
  return modal::Child<QCheckBox>(form, QLatin1String(name))->isChecked();
}

}  // namespace

class GenPWDialogTest : public TDialogTest {
  Q_OBJECT

 public:
  GenPWDialogTest() : TDialogTest(kSettings) {}

 private slots:
  void firstUseDefaults() {
    TfrmGenPW form;
    for (const char* name : {"cbxUpperCase", "cbxLowerCase", "cbxNumbers", "cbxSpecialChars"})
      QVERIFY2(Checked(&form, name), name);
    QVERIFY(!Checked(&form, "cbxTemplate"));
    QCOMPARE(form.findChild<QSpinBox*>("speLength")->value(), 9);
    auto* special = form.findChild<QLineEdit*>("edtSpecial");
    QCOMPARE(special->text(), QString());  // an absent key empties it: no built-in "#$%*+?"
    QVERIFY(special->isEnabled());
    auto* templ = form.findChild<QLineEdit*>("edtTemplate");
    QCOMPARE(templ->text(), QString());
    QVERIFY(!templ->isEnabled());
    QCOMPARE(form.findChild<QLineEdit*>("edtPassword")->text(), QString());
    QCOMPARE(form.windowTitle(), QStringLiteral("Generate a password"));
    QCOMPARE(form.size(), kSize);
    QVERIFY(!Checked(&form, "cbxWords"));
    QCOMPARE(form.findChild<QSpinBox*>("speWords")->value(), 6);
    QCOMPARE(form.findChild<QLineEdit*>("edtSeparator")->text(), QStringLiteral(" "));
  }

  void storedCheckBox_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1 ticks") << "cbxNumbers"
                             << "1" << true;
    QTest::newRow("0 clears") << "cbxNumbers"
                              << "0" << false;
    QTest::newRow("256 clears: low byte zero") << "cbxUpperCase"
                                               << "256" << false;
    QTest::newRow("257 ticks") << "cbxUpperCase"
                               << "257" << true;
    QTest::newRow("-1 ticks") << "cbxLowerCase"
                              << "-1" << true;
    QTest::newRow("text gives default on") << "cbxSpecialChars"
                                           << "yes" << true;
    QTest::newRow("text gives default off") << "cbxTemplate"
                                            << "yes" << false;
    QTest::newRow("fraction gives default") << "cbxTemplate"
                                            << "1.5" << false;
    QTest::newRow("template 2 ticks") << "cbxTemplate"
                                      << "2" << true;
  }
  void storedCheckBox() {
    QFETCH(QString, box);
    QFETCH(QString, stored);
    QFETCH(bool, expected);
    State().SetValue(kPrefix + u'.' + box + QStringLiteral(".Checked"), stored);
    TfrmGenPW form;
    QCOMPARE(form.findChild<QCheckBox*>(box)->isChecked(), expected);
  }

  void storedLength_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("12") << "12" << 12;
    QTest::newRow("0 raised to 1") << "0" << 1;
    QTest::newRow("negative raised to 1") << "-5" << 1;
    QTest::newRow("50 lowered to 32") << "50" << 32;
    QTest::newRow("32 kept") << "32" << 32;
    QTest::newRow("not a number") << "x" << 9;
    QTest::newRow("too big for an int") << "99999999999" << 9;
  }
  void storedLength() {
    QFETCH(QString, stored);
    QFETCH(int, expected);
    State().SetValue(Key(".speLength.Value"), stored);
    TfrmGenPW form;
    QCOMPARE(form.findChild<QSpinBox*>("speLength")->value(), expected);
  }

  // The length box takes any text while it is edited: text that is not a
  // whole number counts as 1, and leaving the box brings its text into
  // 1..32.
  void lengthBoxReadsTypedText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("generated");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("whole number") << "12" << 12 << "12";
    QTest::newRow("emptied") << "" << 1 << "1";
    QTest::newRow("not a number") << "7x" << 1 << "1";
    QTest::newRow("below the range") << "0" << 1 << "1";
    QTest::newRow("above the range") << "50" << 32 << "32";
  }
  void lengthBoxReadsTypedText() {
    QFETCH(QString, typed);
    QFETCH(int, generated);
    QFETCH(QString, shownAfter);
    TfrmGenPW form;
    auto* length = form.findChild<QSpinBox*>("speLength");
    auto* edit = length->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), typed);
    // The Generate button takes no focus: the box still has the text.
    form.findChild<QToolButton*>("spbGenPW")->click();
    QCOMPARE(form.LastPassword().size(), generated);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(length, &leave);
    QCOMPARE(edit->text(), shownAfter);
    QCOMPARE(length->value(), shownAfter.toInt());
  }

  void storedTextsAndEnabling() {
    State().SetValue(Key(".edtSpecial.Text"), QStringLiteral("!@"));
    State().SetValue(Key(".edtTemplate.Text"), QStringLiteral("Aa99"));
    State().SetValue(Key(".cbxSpecialChars.Checked"), QStringLiteral("0"));
    State().SetValue(Key(".cbxTemplate.Checked"), QStringLiteral("1"));
    TfrmGenPW form;
    auto* special = form.findChild<QLineEdit*>("edtSpecial");
    auto* templ = form.findChild<QLineEdit*>("edtTemplate");
    QCOMPARE(special->text(), QStringLiteral("!@"));
    QCOMPARE(templ->text(), QStringLiteral("Aa99"));
    QVERIFY(!special->isEnabled());
    QVERIFY(templ->isEnabled());
    // Ticking and clearing the boxes switches only their own edit box.
    form.findChild<QCheckBox*>("cbxSpecialChars")->click();
    QVERIFY(special->isEnabled());
    form.findChild<QCheckBox*>("cbxTemplate")->click();
    QVERIFY(!templ->isEnabled());
    QVERIFY(form.findChild<QSpinBox*>("speLength")->isEnabled());
    QVERIFY(form.findChild<QCheckBox*>("cbxUpperCase")->isEnabled());
  }

  void savesChoicesAtDestruction() {
    {
      TfrmGenPW form;
      form.findChild<QCheckBox*>("cbxUpperCase")->setChecked(false);
      form.findChild<QCheckBox*>("cbxTemplate")->setChecked(true);
      form.findChild<QLineEdit*>("edtSpecial")->setText(QStringLiteral("%&"));
      form.findChild<QLineEdit*>("edtTemplate")->setText(QStringLiteral("Cvc9"));
      form.findChild<QSpinBox*>("speLength")->setValue(17);
    }
    QCOMPARE(State().GetValue(Key(".cbxUpperCase.Checked")), QStringLiteral("0"));
    QCOMPARE(State().GetValue(Key(".cbxLowerCase.Checked")), QStringLiteral("1"));
    QCOMPARE(State().GetValue(Key(".cbxNumbers.Checked")), QStringLiteral("1"));
    QCOMPARE(State().GetValue(Key(".cbxSpecialChars.Checked")), QStringLiteral("1"));
    QCOMPARE(State().GetValue(Key(".cbxTemplate.Checked")), QStringLiteral("1"));
    QCOMPARE(State().GetValue(Key(".edtSpecial.Text")), QStringLiteral("%&"));
    QCOMPARE(State().GetValue(Key(".edtTemplate.Text")), QStringLiteral("Cvc9"));
    QCOMPARE(State().GetValue(Key(".speLength.Value")), QStringLiteral("17"));
    QVERIFY(!State().GetValue(kPrefix).isEmpty());

    // The next dialog comes back with the same choices.
    TfrmGenPW again;
    QVERIFY(!Checked(&again, "cbxUpperCase"));
    QVERIFY(Checked(&again, "cbxTemplate"));
    QCOMPARE(again.findChild<QLineEdit*>("edtTemplate")->text(), QStringLiteral("Cvc9"));
    QCOMPARE(again.findChild<QSpinBox*>("speLength")->value(), 17);
  }

  void emptiedTemplateRemovesItsKey() {
    State().SetValue(Key(".edtTemplate.Text"), QStringLiteral("Aa"));
    {
      TfrmGenPW form;
      form.findChild<QLineEdit*>("edtTemplate")->clear();
    }
    QVERIFY(!State().Entries().join(u'\n').contains(QStringLiteral("edtTemplate")));
  }

  void placementKeepsPositionNotSize() {
    State().SetValue(kPrefix, QStringLiteral("0 100 120 50 60"));
    {
      TfrmGenPW form;
      QCOMPARE(form.size(), kSize);
    }
    const QStringList words = State().GetValue(kPrefix).split(u' ');
    QCOMPARE(words.size(), 5);
    QCOMPARE(words.mid(0, 3), QStringList({"0", "100", "120"}));
    QVERIFY(words[3].toInt() >= 337);
    QVERIFY(words[4].toInt() >= 450);
  }

  // The meter shows the exact entropy of what the choices make, in either
  // mode, and follows them before anything is generated.
  void meterShowsTheChoicesEntropy_data() {
    QTest::addColumn<bool>("words");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("digit");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("weak");
    // Digits only, 9 of them: 9 x log2(10) = 29.9.
    QTest::newRow("characters") << false << 0 << false << 30 << true;
    QTest::newRow("six words") << true << 6 << false << 78 << false;
    // 4 x log2(7776) + log2(10 digits x 4 places) = 57.0.
    QTest::newRow("four words and a digit") << true << 4 << true << 57 << false;
  }
  void meterShowsTheChoicesEntropy() {
    State().SetValue(Key(".cbxUpperCase.Checked"), QStringLiteral("0"));
    State().SetValue(Key(".cbxLowerCase.Checked"), QStringLiteral("0"));
    State().SetValue(Key(".cbxSpecialChars.Checked"), QStringLiteral("0"));
    TfrmGenPW form;
    QFETCH(bool, words);
    QFETCH(int, count);
    QFETCH(bool, digit);
    modal::Child<QCheckBox>(&form, "cbxWords")->setChecked(words);
    if (count) modal::Child<QSpinBox>(&form, "speWords")->setValue(count);
    modal::Child<QCheckBox>(&form, "cbxDigit")->setChecked(digit);
    auto* meter = modal::Child<TStrengthMeter>(&form, "pgbStrength");
    QTEST(qRound(meter->Bits()), "bits");
    QTEST(meter->Weak(), "weak");
  }

  void wordsModeMakesPassphrases() {
    TfrmGenPW form;
    modal::Child<QCheckBox>(&form, "cbxWords")->setChecked(true);
    modal::Child<QSpinBox>(&form, "speWords")->setValue(4);
    // A tab pasted into the separator is dropped: a password holds none.
    modal::Child<QLineEdit>(&form, "edtSeparator")->setText(QStringLiteral("-\t"));
    modal::Child<QCheckBox>(&form, "cbxCapitals")->setChecked(true);
    form.findChild<QToolButton*>("spbGenPW")->click();
    const QStringList words = form.LastPassword().split(u'-', Qt::SkipEmptyParts);
    QVERIFY2(words.size() >= 4, qPrintable(form.LastPassword()));  // a word may hold a hyphen
    QVERIFY(!form.LastPassword().contains(u'\t'));
    QVERIFY2(form.LastPassword().front().isUpper(), qPrintable(form.LastPassword()));
    QCOMPARE(form.findChild<QLineEdit*>("edtPassword")->text(), form.LastPassword());
  }

  void wordsChoicesAreRemembered() {
    {
      TfrmGenPW form;
      modal::Child<QCheckBox>(&form, "cbxWords")->setChecked(true);
      modal::Child<QSpinBox>(&form, "speWords")->setValue(9);
      modal::Child<QLineEdit>(&form, "edtSeparator")->setText(QStringLiteral("."));
      modal::Child<QCheckBox>(&form, "cbxDigit")->setChecked(true);
    }
    QCOMPARE(State().GetValue(Key(".speWords.Value")), QStringLiteral("9"));
    TfrmGenPW form;
    QVERIFY(Checked(&form, "cbxWords"));
    QVERIFY(Checked(&form, "cbxDigit"));
    QVERIFY(!Checked(&form, "cbxCapitals"));
    QCOMPARE(form.findChild<QSpinBox*>("speWords")->value(), 9);
    QCOMPARE(form.findChild<QLineEdit*>("edtSeparator")->text(), QStringLiteral("."));
  }

  void templateUsesDisabledSpecialBox() {
    State().SetValue(Key(".cbxTemplate.Checked"), QStringLiteral("1"));
    State().SetValue(Key(".cbxSpecialChars.Checked"), QStringLiteral("0"));
    State().SetValue(Key(".edtSpecial.Text"), QStringLiteral("€"));
    State().SetValue(Key(".edtTemplate.Text"), QStringLiteral("$x$"));
    TfrmGenPW form;
    form.findChild<QToolButton*>("spbGenPW")->click();
    // Multi-byte special characters are drawn whole; "x" produces nothing.
    QCOMPARE(form.LastPassword(), QStringLiteral("€€"));
    QCOMPARE(form.findChild<QLineEdit*>("edtPassword")->text(), QStringLiteral("€€"));
  }

  void classesGiveTheChosenLength() {
    State().SetValue(Key(".cbxUpperCase.Checked"), QStringLiteral("0"));
    State().SetValue(Key(".cbxLowerCase.Checked"), QStringLiteral("0"));
    State().SetValue(Key(".cbxSpecialChars.Checked"), QStringLiteral("0"));
    State().SetValue(Key(".speLength.Value"), QStringLiteral("32"));
    TfrmGenPW form;
    form.findChild<QToolButton*>("spbGenPW")->click();
    const QString password = form.LastPassword();
    QCOMPARE(password.size(), 32);
    for (const QChar c : password) QVERIFY2(c.isDigit(), qPrintable(password));
  }

  void copyTakesTheBoxTextAndKeepsSelection() {
    TfrmGenPW form;
    form.findChild<QToolButton*>("spbGenPW")->click();
    auto* box = form.findChild<QLineEdit*>("edtPassword");
    box->setText(box->text() + QStringLiteral("typed"));
    form.findChild<QToolButton*>("spbClipboard")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), box->text());
    QCOMPARE(box->selectedText(), box->text());
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("x-kde-passwordManagerHint"),
             QByteArray("secret"));
  }

  void okWithoutGenerateReturnsEmpty() {
    QString password = QStringLiteral("old");
    modal::WhenModal(kPrefix, [](QWidget* dlg) { modal::Click(dlg, "btnOK"); });
    QCOMPARE(ExecuteGenPW(password), int(mrOk));
    QCOMPARE(password, QString());
  }

  void okReturnsLastGeneratedNotTyped() {
    QString password = QStringLiteral("old");
    QString first, second;
    modal::WhenModal(kPrefix, [&](QWidget* dlg) {
      modal::Click(dlg, "spbGenPW");
      first = modal::Text(dlg, "edtPassword");
      modal::Click(dlg, "spbGenPW");
      second = modal::Text(dlg, "edtPassword");
      modal::SetText(dlg, "edtPassword", QStringLiteral("typed over"));
      modal::Click(dlg, "btnOK");
    });
    QCOMPARE(ExecuteGenPW(password), int(mrOk));
    QVERIFY(!second.isEmpty());
    QCOMPARE(password, second);
  }

  void cancelWays_data() { modal::AddCancelWayRows(); }
  void cancelWays() {
    QFETCH(int, way);
    QString password = QStringLiteral("kept");
    modal::WhenModal(kPrefix, [way](QWidget* dlg) {
      modal::Click(dlg, "spbGenPW");
      modal::Child<QSpinBox>(dlg, "speLength")->setValue(5);
      modal::CancelBy(dlg, way);
    });
    QCOMPARE(ExecuteGenPW(password), int(mrCancel));
    QCOMPARE(password, QStringLiteral("kept"));
    // The dialog is released through the event queue and saves then, also
    // after Cancel.
    modal::FlushDeferredDeletes();
    QCOMPARE(State().GetValue(Key(".speLength.Value")), QStringLiteral("5"));
  }

  void enterPressesOk() {
    QString password = QStringLiteral("old");
    modal::WhenModal(kPrefix, [](QWidget* dlg) {
      modal::Child<QLineEdit>(dlg, "edtTemplate")->setFocus();
      modal::Key(dlg, Qt::Key_Return);
    });
    QCOMPARE(ExecuteGenPW(password), int(mrOk));
    QCOMPARE(password, QString());
  }
};

QTEST_MAIN(GenPWDialogTest)
#include "gen_pw_dialog_test.moc"
