// The open-archive password prompt.

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QtTest>
#include <optional>

#include "forms/open_pw_form.h"
#include "forms/password_dialogs.h"
#include "support/modal_result.h"
#include "tests/forms/dialog_test.h"

namespace {
const QString kForm = QStringLiteral("TfrmOpenPW");
}

class OpenPWDialogTest : public TDialogTest {
  Q_OBJECT

 public:
  OpenPWDialogTest() : TDialogTest(kMessages) {}

 private slots:
  void lookOfTheDialog() {
    TfrmOpenPW form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Vornix password"));
    QCOMPARE(form.size(), QSize(241, 117));
    auto* edit = form.findChild<QLineEdit*>("edtPW");
    QCOMPARE(edit->echoMode(), QLineEdit::Password);
    QCOMPARE(edit->text(), QString());
  }

  void passwordTakenAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("plain") << "secret";
    QTest::newRow("single blank") << " ";
    QTest::newRow("blanks around") << "  pw  ";
    QTest::newRow("non-ASCII") << "Ünïcødé€";
  }
  void passwordTakenAsTyped() {
    QFETCH(QString, typed);
    QString password = QStringLiteral("previous");
    modal::WhenModal(kForm, [&typed](QWidget* dlg) {
      modal::SetText(dlg, "edtPW", typed);
      modal::Key(dlg, Qt::Key_Return);
    });
    QCOMPARE(ExecuteOpenPW(password), int(mrOk));
    QCOMPARE(password, typed);
    QVERIFY(messages_->requests.isEmpty());
  }

  void emptyPasswordWarned() {
    QString password = QStringLiteral("previous");
    bool stillOpen = false;
    bool focused = false;
    modal::WhenModal(kForm, [&](QWidget* dlg) {
      modal::Key(dlg, Qt::Key_Return);
      stillOpen = dlg->isVisible();
      focused = dlg->focusWidget() == modal::Child<QLineEdit>(dlg, "edtPW");
      modal::Click(dlg, "btnCancel");
    });
    QCOMPARE(ExecuteOpenPW(password), int(mrCancel));
    QVERIFY(stillOpen);
    QVERIFY(focused);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests[0].kind, TMsgRequest::Warning);
    QCOMPARE(messages_->requests[0].text, QStringLiteral("Please a password"));
    QCOMPARE(password, QStringLiteral("previous"));
  }

  void cancelWaysLeavePassword_data() { modal::AddCancelWayRows(); }
  void cancelWaysLeavePassword() {
    QFETCH(int, way);
    QString password = QStringLiteral("previous");
    modal::WhenModal(kForm, [way](QWidget* dlg) {
      modal::SetText(dlg, "edtPW", QStringLiteral("typed"));
      modal::CancelBy(dlg, way);
    });
    QCOMPARE(ExecuteOpenPW(password), int(mrCancel));
    QCOMPARE(password, QStringLiteral("previous"));
  }

  void freshEmptyBoxAndCentredEachTime() {
    QString password;
    modal::WhenModal(kForm, [](QWidget* dlg) {
      modal::SetText(dlg, "edtPW", QStringLiteral("first"));
      dlg->move(0, 0);
      modal::Click(dlg, "btnOK");
    });
    QCOMPARE(ExecuteOpenPW(password), int(mrOk));
    QString textAtOpen = QStringLiteral("unset");
    QPoint centre;
    modal::WhenModal(kForm, [&](QWidget* dlg) {
      textAtOpen = modal::Text(dlg, "edtPW");
      centre = dlg->geometry().center();
      modal::Click(dlg, "btnCancel");
    });
    QCOMPARE(ExecuteOpenPW(password), int(mrCancel));
    QCOMPARE(textAtOpen, QString());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(centre.x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(centre.y() - screen.center().y()) <= 1);
  }
};

QTEST_MAIN(OpenPWDialogTest)
#include "open_pw_dialog_test.moc"
