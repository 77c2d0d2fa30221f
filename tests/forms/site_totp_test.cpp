// The site editor's password eye and its one-time code set-up.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <deque>
#include <optional>

#include "core/pw_rec.h"
#include "core/totp.h"
#include "forms/site_form.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/state.h"
#include "tests/common/dialog_fixture.h"

class SiteTotpTest : public TDialogFixture {
  Q_OBJECT

 private slots:
  void init() {
    StartDialog(kSettings);
    answers_.clear();
    requests_.clear();
    TqelMsgDlg::SetAnswerer([this](const TMsgRequest& request) {
      requests_ << request;
      if (answers_.empty()) return QVariant();
      QVariant answer = answers_.front();
      answers_.pop_front();
      return answer;
    });
  }
  void cleanup() {
    TqelMsgDlg::SetAnswerer(nullptr);
    EndDialog();
  }

  void passwordShownUnlessTheOptionHidesIt_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("shown");
    QTest::newRow("default") << QString() << true;
    QTest::newRow("hide") << "1" << false;
    QTest::newRow("show") << "0" << true;
  }
  void passwordShownUnlessTheOptionHidesIt() {
    QFETCH(QString, option);
    QFETCH(bool, shown);
    if (!option.isEmpty()) State().SetValue("Options.HidePasswordsInEditor", option);
    TfrmSite form;
    auto* pw = modal::Child<QLineEdit>(&form, "edtPW");
    const auto masked = shown ? QLineEdit::Normal : QLineEdit::Password;
    QCOMPARE(pw->echoMode(), masked);
    modal::Child<QAction>(&form, "actShowPW")->trigger();
    QCOMPARE(pw->echoMode(), shown ? QLineEdit::Password : QLineEdit::Normal);
  }

  void setUpShowsTheCodeAndWritesTheNotesOnYes_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("confirm");
    QTest::addColumn<QString>("notes");  // after the set-up
    QTest::newRow("secret, yes") << "jbsw y3dp ehpk 3pxp" << int(mrYes)
                                 << "pin 7\nTOTP: jbsw y3dp ehpk 3pxp";
    QTest::newRow("URI, yes") << "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP" << int(mrYes)
                              << "pin 7\notpauth://totp/x?secret=JBSWY3DPEHPK3PXP";
    QTest::newRow("no") << "JBSWY3DPEHPK3PXP" << int(mrNo) << "pin 7\nTOTP: OLD";
  }
  void setUpShowsTheCodeAndWritesTheNotesOnYes() {
    QFETCH(QString, typed);
    QFETCH(int, confirm);
    QFETCH(QString, notes);
    TqelPwRec rec;
    rec.SetLine("Bank=joe\tpw\t\tpin 7\\nTOTP: OLD");
    TfrmSite form;
    form.LoadRecord(rec);
    answers_ = {typed, confirm};
    const std::int64_t before = UnixNow();
    modal::Click(&form, "btnSetupTotp");
    QCOMPARE(modal::Text(&form, "mmoNote"), notes);
    QCOMPARE(requests_.size(), 2);
    QCOMPARE(requests_[0].kind, TMsgRequest::InputText);
    QCOMPARE(requests_[1].kind, TMsgRequest::Question);
    const QString code = QString::fromStdString(TotpCode(ParseTotp("JBSWY3DPEHPK3PXP"), before));
    const QString later = QString::fromStdString(TotpCode(ParseTotp("JBSWY3DPEHPK3PXP"), UnixNow()));
    QVERIFY2(requests_[1].text.contains(code) || requests_[1].text.contains(later),
             qPrintable(requests_[1].text));
  }

  void malformedInputIsExplainedAndChangesNothing() {
    TqelPwRec rec;
    rec.SetLine("Bank=joe\tpw\t\tpin 7");
    TfrmSite form;
    form.LoadRecord(rec);
    answers_ = {QStringLiteral("otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&algorithm=MD5"),
                int(mrOk)};
    modal::Click(&form, "btnSetupTotp");
    QCOMPARE(requests_.size(), 2);
    QCOMPARE(requests_[1].kind, TMsgRequest::Error);
    QCOMPARE(requests_[1].text,
             QStringLiteral("The one-time code algorithm must be SHA1, SHA256 or SHA512."));
    QCOMPARE(modal::Text(&form, "mmoNote"), QStringLiteral("pin 7"));
    QVERIFY(!modal::Child<QPushButton>(&form, "btnOK")->isEnabled());
  }

 private:
  std::deque<QVariant> answers_;
  QList<TMsgRequest> requests_;
};

QTEST_MAIN(SiteTotpTest)
#include "site_totp_test.moc"
