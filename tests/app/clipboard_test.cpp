// Passwords put on the clipboard: the hint for clipboard managers, the
// countdown in the status bar, and clearing only what is still ours.

#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QTest>

#include "support/secret_clipboard.h"
#include "tests/app/window_fixture.h"

class ClipboardTest : public TWindowFixture {
  Q_OBJECT
 private:
  static QString ClipText() { return QGuiApplication::clipboard()->text(); }
  void Pass(int seconds) { seconds_->Pass(seconds); }
  QLabel* Countdown() const { return window_->findChild<QLabel*>("lblClipboard"); }
  void CopySelectedPassword() {
    AddSiteThroughEditor(*window_, QStringLiteral("Mail"));
    window_->findChild<TSiteListBox*>("lbxSiteList")->Record(0).SetPW("s3cret");
    Trigger("mmiCopyPW");
  }

 private slots:
  void init() { StartWindowWithClipboardClock(); }
  void cleanup() { EndWindow(TErrors::Allowed); }

  void passwordCarriesHintAndIsClearedAfterTheDelay() {
    CopySelectedPassword();
    QCOMPARE(ClipText(), QStringLiteral("s3cret"));
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("x-kde-passwordManagerHint"),
             QByteArray("secret"));
    QVERIFY(!Countdown()->isHidden());
    Pass(2);
    QCOMPARE(Countdown()->text(), QStringLiteral("Clipboard clears in 8 s"));
    Pass(7);
    QCOMPARE(ClipText(), QStringLiteral("s3cret"));
    Pass(1);
    QCOMPARE(ClipText(), QString());
    QVERIFY(Countdown()->isHidden());
  }

  // Blanks at the password's ends are part of it and go along.
  void passwordIsCopiedExactly() {
    AddSiteThroughEditor(*window_, QStringLiteral("Mail"));
    window_->findChild<TSiteListBox*>("lbxSiteList")->Record(0).SetPW(" s3cret  ");
    Trigger("mmiCopyPW");
    QCOMPARE(ClipText(), QStringLiteral(" s3cret  "));
  }

  // Closing the archive takes a password copied from it off the clipboard at
  // once, but leaves what the user copied since.
  void closeTakesOurPasswordOffTheClipboard() {
    CopySelectedPassword();
    window_->SetModified(false);  // no save question
    Trigger("mmiFileClose");
    QCOMPARE(ClipText(), QString());
    CopySelectedPassword();
    QGuiApplication::clipboard()->setText(QStringLiteral("mine"));
    window_->SetModified(false);
    Trigger("mmiFileClose");
    QCOMPARE(ClipText(), QStringLiteral("mine"));
  }

  void whatTheUserCopiedSinceIsKept() {
    CopySelectedPassword();
    QGuiApplication::clipboard()->setText(QStringLiteral("mine"));
    QVERIFY(Countdown()->isHidden());  // nothing of ours left to clear
    Pass(10);
    QCOMPARE(ClipText(), QStringLiteral("mine"));
    // At exit the same rule: only the password itself is taken away.
    SecretClipboard().Copy(QStringLiteral("other"));
    QGuiApplication::clipboard()->setText(QStringLiteral("mine"));
    SecretClipboard().ClearIfOurs();
    QCOMPARE(ClipText(), QStringLiteral("mine"));
    SecretClipboard().Copy(QStringLiteral("other"));
    SecretClipboard().ClearIfOurs();
    QCOMPARE(ClipText(), QString());
  }

  void delayFromTheOptions_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("seconds");
    QTest::newRow("unset") << QString() << 10;
    QTest::newRow("set") << "3" << 3;
    QTest::newRow("never") << "0" << 0;
    QTest::newRow("negative") << "-4" << 10;
    QTest::newRow("not a number") << "soon" << 10;
  }
  void delayFromTheOptions() {
    QFETCH(QString, stored);
    QFETCH(int, seconds);
    if (!stored.isNull()) State().SetValue("Options.ClipboardSeconds", stored);
    SecretClipboard().Copy(QStringLiteral("pw"));
    QCOMPARE(SecretClipboard().SecondsLeft(), seconds);
    Pass(seconds > 0 ? seconds : 100);
    QCOMPARE(ClipText(), seconds > 0 ? QString() : QStringLiteral("pw"));
  }
};

QTEST_MAIN(ClipboardTest)
#include "clipboard_test.moc"
