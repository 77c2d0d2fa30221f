// The site editor: loading a record, the OK rules, the refusals of input a
// site line cannot carry, and the three speed buttons.

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <optional>

#include "core/pw_rec.h"
#include "forms/site_dialog.h"
#include "forms/site_field_check.h"
#include "forms/site_form.h"
#include "forms/strength_meter.h"
#include "support/modal_result.h"
#include "support/shell_open.h"
#include "tests/forms/dialog_test.h"

namespace {

const QString kForm = QStringLiteral("TfrmSite");

TqelPwRec SampleRecord() {
  TqelPwRec rec;
  rec.SetLine("Bank=joe\tpw1\thttp://bank.example\tline a\\nline b");
  return rec;
}

QPushButton* Ok(QWidget* form) { return modal::Child<QPushButton>(form, "btnOK"); }

}  // namespace

class SiteDialogTest : public TDialogTest {
  Q_OBJECT

 public:
  SiteDialogTest() : TDialogTest(kSettings | kMessages) {}

 protected:
  void AfterTest() override { SetShellOpener(nullptr); }

 private slots:
  void loadShowsFieldsWithOkDisabled() {
    TqelPwRec rec = SampleRecord();
    TfrmSite form;
    form.LoadRecord(rec);
    QCOMPARE(modal::Text(&form, "edtSite"), QStringLiteral("Bank"));
    QCOMPARE(modal::Text(&form, "edtURL"), QStringLiteral("http://bank.example"));
    QCOMPARE(modal::Text(&form, "edtUser"), QStringLiteral("joe"));
    QCOMPARE(modal::Text(&form, "edtPW"), QStringLiteral("pw1"));
    QCOMPARE(modal::Text(&form, "mmoNote"), QStringLiteral("line a\nline b"));
    QVERIFY(!Ok(&form)->isEnabled());
    QCOMPARE(form.windowTitle(), QStringLiteral("Site"));
    QCOMPARE(form.size(), QSize(329, 386));
    QVERIFY(form.findChild<QPlainTextEdit*>("mmoNote")->tabChangesFocus());
  }

  void meterFollowsThePassword() {
    TqelPwRec rec = SampleRecord();
    TfrmSite form;
    form.LoadRecord(rec);
    auto* meter = modal::Child<TStrengthMeter>(&form, "pgbStrength");
    QVERIFY(meter->Weak());  // "pw1"
    modal::SetText(&form, "edtPW", QStringLiteral("x7$Kq!2mZp#9Lw"));
    QVERIFY(!meter->Weak());
    QVERIFY2(meter->toolTip().endsWith(QStringLiteral(" bits")), qPrintable(meter->toolTip()));
    // It sits in the gap under the password box, clear of the notes.
    QVERIFY(meter->geometry().top() > modal::Child<QWidget>(&form, "edtPW")->geometry().bottom());
    QVERIFY(meter->geometry().bottom() < modal::Child<QWidget>(&form, "lblNote")->geometry().top());
  }

  void emptyRecordOpensWithOkDisabled() {
    TqelPwRec rec;
    TfrmSite form;
    form.LoadRecord(rec);
    QVERIFY(!Ok(&form)->isEnabled());
    modal::SetText(&form, "mmoNote", QStringLiteral("x"));
    QVERIFY(Ok(&form)->isEnabled());
  }

  void okWritesTrimmedFieldsAndEncodedNotes() {
    TqelPwRec rec;
    modal::WhenModal(kForm, [](QWidget* dlg) {
      modal::SetText(dlg, "edtSite", QStringLiteral("  Mail "));
      modal::SetText(dlg, "edtURL", QStringLiteral("https://mail.example"));
      modal::SetText(dlg, "edtUser", QStringLiteral("ann"));
      modal::SetText(dlg, "edtPW", QStringLiteral("s3cr=t"));
      modal::SetText(dlg, "mmoNote", QStringLiteral("first\nsecond\tcol"));
      modal::Click(dlg, "btnOK");
    });
    QCOMPARE(ExecuteSite(rec), int(mrOk));
    QCOMPARE(rec.Line(),
             std::string("Mail=ann\ts3cr=t\thttps://mail.example\tfirst\\nsecond\\tcol"));
    QVERIFY(messages_->requests.isEmpty());
  }

  void unchangedContentStillWrittenOnOk() {
    TqelPwRec rec = SampleRecord();
    const std::string before = rec.Line();
    modal::WhenModal(kForm, [](QWidget* dlg) {
      auto* site = modal::Child<QLineEdit>(dlg, "edtSite");
      site->end(false);
      site->insert(QStringLiteral("x"));
      site->backspace();
      modal::Key(dlg, Qt::Key_Return);
    });
    QCOMPARE(ExecuteSite(rec), int(mrOk));
    QCOMPARE(rec.Line(), before);
  }

  void enterDoesNothingBeforeAChange() {
    TqelPwRec rec = SampleRecord();
    modal::WhenModal(kForm, [](QWidget* dlg) {
      modal::Key(dlg, Qt::Key_Return);
      const bool stillOpen = dlg->isVisible();
      modal::Click(dlg, "btnCancel");
      QVERIFY(stillOpen);
    });
    QCOMPARE(ExecuteSite(rec), int(mrCancel));
  }

  void emptySiteNameRefused() {
    TqelPwRec rec = SampleRecord();
    const std::string before = rec.Line();
    bool focused = false;
    modal::WhenModal(kForm, [&](QWidget* dlg) {
      modal::SetText(dlg, "edtSite", QString());
      modal::Child<QLineEdit>(dlg, "edtUser")->setFocus();
      modal::Click(dlg, "btnOK");
      focused = dlg->focusWidget() == modal::Child<QLineEdit>(dlg, "edtSite");
      modal::Click(dlg, "btnCancel");
    });
    QCOMPARE(ExecuteSite(rec), int(mrCancel));
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests[0].kind, TMsgRequest::Error);
    QCOMPARE(messages_->requests[0].text, QStringLiteral("Site name / Description must be filled"));
    QVERIFY(focused);
    QCOMPARE(rec.Line(), before);
  }

  void blankSiteNamePassesAndIsTrimmed() {
    TqelPwRec rec = SampleRecord();
    modal::WhenModal(kForm, [](QWidget* dlg) {
      modal::SetText(dlg, "edtSite", QStringLiteral("   "));
      modal::Click(dlg, "btnOK");
    });
    QCOMPARE(ExecuteSite(rec), int(mrOk));
    QCOMPARE(rec.Site(), std::string());
  }

  void refusedCharacters_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("= in site") << "edtSite"
                               << "a=b"
                               << "The site name cannot contain \"=\".";
    QTest::newRow("tab in site") << "edtSite"
                                 << "a\tb"
                                 << "The site name cannot contain a tab character.";
    QTest::newRow("LF in site") << "edtSite"
                                << "a\nb"
                                << "The site name cannot contain a line break.";
    QTest::newRow("tab in URL") << "edtURL"
                                << "http://x\ty"
                                << "The URL cannot contain a tab character.";
    QTest::newRow("CR in URL") << "edtURL"
                               << "a\rb"
                               << "The URL cannot contain a line break.";
    QTest::newRow("tab in user") << "edtUser"
                                 << "jo\te"
                                 << "The user name cannot contain a tab character.";
    QTest::newRow("CR in user") << "edtUser"
                                << "j\roe"
                                << "The user name cannot contain a line break.";
    QTest::newRow("tab in password") << "edtPW"
                                     << "p\tw"
                                     << "The password cannot contain a tab character.";
    QTest::newRow("LF in password") << "edtPW"
                                    << "p\nw"
                                    << "The password cannot contain a line break.";
    // A password is stored exactly: what its ends hold is not trimmed away.
    QTest::newRow("tab after password") << "edtPW"
                                        << "pw\t"
                                        << "The password cannot contain a tab character.";
    QTest::newRow("line end after password") << "edtPW"
                                             << "pw\r\n"
                                             << "The password cannot contain a line break.";
  }
  void refusedCharacters() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TqelPwRec rec = SampleRecord();
    const std::string before = rec.Line();
    bool focused = false;
    modal::WhenModal(kForm, [&](QWidget* dlg) {
      // setText, not typing: a line edit drops typed line breaks, but a
      // program or paste may still put them there.
      modal::Child<QLineEdit>(dlg, field)->setText(text);
      modal::Click(dlg, "btnOK");
      focused = dlg->focusWidget() == modal::Child<QLineEdit>(dlg, field);
      modal::Click(dlg, "btnCancel");
    });
    QCOMPARE(ExecuteSite(rec), int(mrCancel));
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests[0].kind, TMsgRequest::Error);
    QCOMPARE(messages_->requests[0].text, message);
    QVERIFY(focused);
    QCOMPARE(rec.Line(), before);
  }

  void acceptedCharacters_data() {
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("pw");
    QTest::newRow("= outside the site name") << "Bank"
                                             << "a=b"
                                             << "p=w";
    QTest::newRow("backslashes and quotes") << "C:\\new \"x\""
                                            << "\\t"
                                            << "\\n";
    QTest::newRow("non-ASCII") << "Bänk €"
                               << "jöe"
                               << "пароль";
  }
  void acceptedCharacters() {
    QFETCH(QString, site);
    QFETCH(QString, user);
    QFETCH(QString, pw);
    QVERIFY(!FindFieldProblem({site, QString(), user, pw}));
    TqelPwRec rec;
    modal::WhenModal(kForm, [&](QWidget* dlg) {
      modal::SetText(dlg, "edtSite", site);
      modal::SetText(dlg, "edtUser", user);
      modal::SetText(dlg, "edtPW", pw);
      modal::Click(dlg, "btnOK");
    });
    QCOMPARE(ExecuteSite(rec), int(mrOk));
    // The written line reads back into the same fields.
    TqelPwRec reread;
    reread.SetLine(rec.Line());
    QCOMPARE(QString::fromStdString(reread.Site()), site);
    QCOMPARE(QString::fromStdString(reread.User()), user);
    QCOMPARE(QString::fromStdString(reread.PW()), pw);
  }

  // A user name pasted with its line end, a URL with a tab: the record
  // trims them, so they are no reason to refuse the input. The password
  // keeps its blanks.
  void controlsAtTheEndsAreTrimmedNotRefused() {
    TqelPwRec rec;
    modal::WhenModal(kForm, [](QWidget* dlg) {
      modal::Child<QLineEdit>(dlg, "edtSite")->setText("\tBank\r\n");
      modal::Child<QLineEdit>(dlg, "edtURL")->setText("http://bank\t");
      modal::Child<QLineEdit>(dlg, "edtUser")->setText("\njoe");
      modal::Child<QLineEdit>(dlg, "edtPW")->setText(" secret ");
      modal::Click(dlg, "btnOK");
      if (dlg->isVisible()) modal::Click(dlg, "btnCancel");  // refused
    });
    QCOMPARE(ExecuteSite(rec), int(mrOk));
    QVERIFY(messages_->requests.isEmpty());
    QCOMPARE(rec.Line(), std::string("Bank=joe\t secret \thttp://bank\t"));
  }

  void firstProblemInTabOrder() {
    const auto problem = FindFieldProblem({"a=b", "u\tx", "x\ty", "p\nq"});
    QVERIFY(problem);
    QCOMPARE(problem->field, SiteField::Site);
    const auto second = FindFieldProblem({"ab", "u\tx", "x\ty", "p\nq"});
    QVERIFY(second);
    QCOMPARE(second->field, SiteField::URL);
  }

  void cancelWaysLeaveRecord_data() { modal::AddCancelWayRows(); }
  void cancelWaysLeaveRecord() {
    QFETCH(int, way);
    TqelPwRec rec = SampleRecord();
    const std::string before = rec.Line();
    modal::WhenModal(kForm, [way](QWidget* dlg) {
      modal::SetText(dlg, "edtSite", QStringLiteral("Changed"));
      modal::CancelBy(dlg, way);
    });
    QCOMPARE(ExecuteSite(rec), int(mrCancel));
    QCOMPARE(rec.Line(), before);
  }

  void notesRoundTripAsTwoLines() {
    TqelPwRec rec;
    rec.SetSite("S");
    modal::WhenModal(kForm, [](QWidget* dlg) {
      modal::SetText(dlg, "mmoNote", QStringLiteral("one\ntwo"));
      modal::Click(dlg, "btnOK");
    });
    QCOMPARE(ExecuteSite(rec), int(mrOk));
    QCOMPARE(rec.RawNote(), std::string("one\\ntwo"));
    TfrmSite again;
    again.LoadRecord(rec);
    QCOMPARE(modal::Text(&again, "mmoNote"), QStringLiteral("one\ntwo"));
  }

  void launchPassesUrlUnaltered() {
    QStringList opened;
    SetShellOpener([&opened](const QString& address) { opened << address; });
    TqelPwRec rec;
    TfrmSite form;
    form.LoadRecord(rec);
    auto* launch = form.findChild<QToolButton*>("spbLaunchURL");
    launch->click();  // empty box: the opener ignores it, nothing is reported
    QCOMPARE(opened, QStringList());
    modal::SetText(&form, "edtURL", QStringLiteral(" www.example.com/a b "));
    launch->click();
    QCOMPARE(opened, QStringList({" www.example.com/a b "}));
    QVERIFY(messages_->requests.isEmpty());
  }

  void copyPutsPasswordOnClipboard() {
    TqelPwRec rec = SampleRecord();
    TfrmSite form;
    form.LoadRecord(rec);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    modal::SetText(&form, "edtPW", QString());
    form.findChild<QToolButton*>("spbClipboard")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    modal::SetText(&form, "edtPW", QStringLiteral("abc"));
    form.findChild<QToolButton*>("spbClipboard")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
    QCOMPARE(form.findChild<QLineEdit*>("edtPW")->selectedText(), QStringLiteral("abc"));
    // Marked as a password, so clipboard managers keep it out of their history.
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("x-kde-passwordManagerHint"),
             QByteArray("secret"));
  }

  void generateOkWithoutPasswordEmptiesBox() {
    TqelPwRec rec = SampleRecord();
    TfrmSite form;
    form.LoadRecord(rec);
    modal::WhenModal(QStringLiteral("TfrmGenPW"), [](QWidget* gen) { modal::Click(gen, "btnOK"); });
    form.findChild<QToolButton*>("spbGenPW")->click();
    QCOMPARE(modal::Text(&form, "edtPW"), QString());
    QVERIFY(Ok(&form)->isEnabled());
  }

  void generateOkTakesGeneratedPassword() {
    TqelPwRec rec = SampleRecord();
    TfrmSite form;
    form.LoadRecord(rec);
    QString generated;
    modal::WhenModal(QStringLiteral("TfrmGenPW"), [&generated](QWidget* gen) {
      modal::Click(gen, "spbGenPW");
      generated = modal::Text(gen, "edtPassword");
      modal::Click(gen, "btnOK");
    });
    form.findChild<QToolButton*>("spbGenPW")->click();
    QVERIFY(!generated.isEmpty());
    QCOMPARE(modal::Text(&form, "edtPW"), generated);
  }

  void generateCancelKeepsBoxAndOkDisabled() {
    TqelPwRec rec = SampleRecord();
    TfrmSite form;
    form.LoadRecord(rec);
    modal::WhenModal(QStringLiteral("TfrmGenPW"), [](QWidget* gen) {
      modal::Click(gen, "spbGenPW");
      modal::Click(gen, "btnCancel");
    });
    form.findChild<QToolButton*>("spbGenPW")->click();
    QCOMPARE(modal::Text(&form, "edtPW"), QStringLiteral("pw1"));
    QVERIFY(!Ok(&form)->isEnabled());
  }

  void placementRestoredPositionOnly() {
    State().SetValue(kForm, QStringLiteral("0 150 170 10 10"));
    {
      TfrmSite form;
      QCOMPARE(form.size(), QSize(329, 386));
    }
    const QStringList words = State().GetValue(kForm).split(u' ');
    QCOMPARE(words.size(), 5);
    QCOMPARE(words.mid(0, 3), QStringList({"0", "150", "170"}));
  }
};

QTEST_MAIN(SiteDialogTest)
#include "site_dialog_test.moc"
