// The new-archive-password prompt: both boxes must hold the same text.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <algorithm>
#include <optional>

#include "forms/password_dialogs.h"
#include "forms/save_pw_form.h"
#include "forms/save_pw_strength.h"
#include "forms/strength_meter.h"
#include "generator/word_list.h"
#include "support/modal_result.h"
#include "tests/common/flag_rows.h"
#include "tests/forms/dialog_test.h"

namespace {
const QString kForm = QStringLiteral("TfrmSavePW");
}

class SavePWDialogTest : public TDialogTest {
  Q_OBJECT

 public:
  SavePWDialogTest() : TDialogTest(kMessages) {}

 private slots:
  void lookOfTheDialog() {
    TfrmSavePW form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Vornix password"));
    // Changed with the encryption choice: the dialog is widened for it, and
    // the designed controls keep their places to its left; the strength
    // panel makes it taller below them and the choice's notes.
    const QRect strength = form.findChild<QWidget*>("pnlStrength")->geometry();
    QVERIFY(strength.top() >= 170 - 4);
    QVERIFY(strength.top() > form.findChild<QLabel*>("lblBackups")->geometry().bottom());
    QCOMPARE(strength.height(), TSavePwStrength::kHeight);
    QCOMPARE(form.height(), strength.bottom() + 1);
    const QRect choice = form.findChild<QGroupBox*>("gbxEncryption")->geometry();
    QVERIFY(choice.left() > form.findChild<QLineEdit*>("edtPW")->geometry().right());
    QVERIFY(choice.right() < form.width());
    QCOMPARE(form.findChild<QPushButton*>("btnCancel")->geometry(), QRect(144, 128, 75, 25));
    for (const char* name : {"edtPW", "edtConfirm"})
      QCOMPARE(form.findChild<QLineEdit*>(name)->echoMode(), QLineEdit::Password);
  }

  void matchingPasswordsAccepted_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("plain") << "secret";
    QTest::newRow("single blank") << " ";
    QTest::newRow("trailing blank kept") << "pw ";
  }
  void matchingPasswordsAccepted() {
    QFETCH(QString, typed);
    QString password = QStringLiteral("previous");
    modal::WhenModal(kForm, [&typed](QWidget* dlg) {
      QTest::keyClicks(modal::Child<QLineEdit>(dlg, "edtPW"), typed);
      QTest::keyClicks(modal::Child<QLineEdit>(dlg, "edtConfirm"), typed);
      modal::Key(dlg, Qt::Key_Return);
    });
    QCOMPARE(ExecuteSavePW(password), int(mrOk));
    QCOMPARE(password, typed);
    QVERIFY(messages_->requests.isEmpty());
  }

  // The choice opens as the caller presets it and comes back changed on OK.
  void encryptionChoice_data() {
    AddFlagRows("preset", "traditional, AES chosen", false, "AES, traditional chosen");
  }
  void encryptionChoice() {
    QFETCH(bool, preset);
    QString password;
    bool aes256 = preset;
    bool shownAes = !preset;
    modal::WhenModal(kForm, [preset, &shownAes](QWidget* dlg) {
      shownAes = modal::Child<QRadioButton>(dlg, "rbtAes256")->isChecked();
      modal::Child<QRadioButton>(dlg, preset ? "rbtTraditional" : "rbtAes256")->click();
      modal::SetText(dlg, "edtPW", "pw");
      modal::SetText(dlg, "edtConfirm", "pw");
      modal::Click(dlg, "btnOK");
    });
    QCOMPARE(ExecuteSavePW(password, &aes256), int(mrOk));
    QCOMPARE(shownAes, preset);
    QCOMPARE(aes256, !preset);
  }

  void refusals_data() {
    QTest::addColumn<QString>("pw");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("warning");
    QTest::newRow("empty") << ""
                           << ""
                           << "Please a password";
    QTest::newRow("empty, confirmation given") << ""
                                               << "abc"
                                               << "Please a password";
    QTest::newRow("letter case differs") << "Secret"
                                         << "secret"
                                         << "New password and confirmation must be the same";
    QTest::newRow("trailing blank differs") << "pw"
                                            << "pw "
                                            << "New password and confirmation must be the same";
    QTest::newRow("confirmation empty") << "pw"
                                        << ""
                                        << "New password and confirmation must be the same";
  }
  void refusals() {
    QFETCH(QString, pw);
    QFETCH(QString, confirm);
    QFETCH(QString, warning);
    QString password = QStringLiteral("previous");
    bool stillOpen = false;
    bool focused = false;
    QString pwAfter, confirmAfter;
    modal::WhenModal(kForm, [&](QWidget* dlg) {
      modal::SetText(dlg, "edtPW", pw);
      modal::SetText(dlg, "edtConfirm", confirm);
      modal::Child<QLineEdit>(dlg, "edtConfirm")->setFocus();
      modal::Click(dlg, "btnOK");
      stillOpen = dlg->isVisible();
      focused = dlg->focusWidget() == modal::Child<QLineEdit>(dlg, "edtPW");
      pwAfter = modal::Text(dlg, "edtPW");
      confirmAfter = modal::Text(dlg, "edtConfirm");
      modal::Click(dlg, "btnCancel");
    });
    QCOMPARE(ExecuteSavePW(password), int(mrCancel));
    QVERIFY(stillOpen);
    QVERIFY(focused);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests[0].kind, TMsgRequest::Warning);
    QCOMPARE(messages_->requests[0].text, warning);
    // The typed texts stay for correcting.
    QCOMPARE(pwAfter, pw);
    QCOMPARE(confirmAfter, confirm);
    QCOMPARE(password, QStringLiteral("previous"));
  }

  // The meter, the guess time and the warning follow the password and the
  // encryption; a short time never stops OK.
  void strengthFollowsPasswordAndEncryption_data() {
    QTest::addColumn<QString>("pw");
    QTest::addColumn<bool>("aes");
    QTest::addColumn<bool>("weak");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<bool>("offered");
    QTest::newRow("weak, AES") << "abc" << true << true
                               << "Time to guess: less than a second for one GPU" << true << true;
    QTest::newRow("strong, AES") << "x7$Kq!2mZp#9Lw" << true << false
                                 << "Time to guess: more than a million years for one GPU" << false
                                 << false;
    QTest::newRow("strong, traditional")
        << "x7$Kq!2mZp#9Lw" << false << false
        << "Time to guess: breakable without the password (known-plaintext attack)" << true
        << false;
    QTest::newRow("empty") << "" << true << true << "" << false << false;
  }
  void strengthFollowsPasswordAndEncryption() {
    QFETCH(QString, pw);
    QFETCH(bool, aes);
    TfrmSavePW form;
    form.SetAes256(aes);
    modal::SetText(&form, "edtPW", pw);
    QTEST(form.findChild<TStrengthMeter*>("pgbStrength")->Weak(), "weak");
    QTEST(form.findChild<QLabel*>("lblGuessTime")->text(), "time");
    QTEST(!form.findChild<QLabel*>("lblStrengthWarning")->text().isEmpty(), "warned");
    QTEST(!form.findChild<QPushButton*>("btnPassphrase")->isHidden(), "offered");
  }

  void passphraseFillsBothBoxes() {
    QString password;
    bool aes256 = true;
    QString shown, confirm;
    int bits = 0;
    bool offeredAfter = true;
    modal::WhenModal(kForm, [&](QWidget* dlg) {
      modal::SetText(dlg, "edtPW", QStringLiteral("abc"));
      modal::Click(dlg, "btnPassphrase");
      shown = modal::Child<QLabel>(dlg, "lblPassphrase")->text();
      confirm = modal::Text(dlg, "edtConfirm");
      bits = qRound(modal::Child<TStrengthMeter>(dlg, "pgbStrength")->Bits());
      offeredAfter = !modal::Child<QPushButton>(dlg, "btnPassphrase")->isHidden();
      modal::Click(dlg, "btnOK");
    });
    QCOMPARE(ExecuteSavePW(password, &aes256), int(mrOk));
    QCOMPARE(confirm, password);
    QCOMPARE(shown, QStringLiteral("Passphrase: ") + password);
    QCOMPARE(bits, 78);  // its exact entropy, not the estimator's guess
    QVERIFY(!offeredAfter);
    const QStringList words = password.split(u' ');
    QCOMPARE(words.size(), 6);
    const auto list = PassphraseWords();
    for (const QString& word : words)
      QVERIFY2(std::find(list.begin(), list.end(), word.toStdString()) != list.end(),
               qPrintable(word));
  }

  void cancelWaysLeavePassword_data() { modal::AddCancelWayRows(); }
  void cancelWaysLeavePassword() {
    QFETCH(int, way);
    QString password = QStringLiteral("previous");
    modal::WhenModal(kForm, [way](QWidget* dlg) {
      modal::SetText(dlg, "edtPW", QStringLiteral("a"));
      modal::SetText(dlg, "edtConfirm", QStringLiteral("a"));
      modal::CancelBy(dlg, way);
    });
    QCOMPARE(ExecuteSavePW(password), int(mrCancel));
    QCOMPARE(password, QStringLiteral("previous"));
  }
};

QTEST_MAIN(SavePWDialogTest)
#include "save_pw_dialog_test.moc"
