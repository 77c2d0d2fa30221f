// Locking the main window: by the Lock command, by idleness and by the
// session, what a locked window still holds, and the unlock.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/app_texts.h"
#include "app/auto_lock.h"
#include "tests/app/window_fixture.h"

namespace {

const std::string kTwoSites = SiteText({"Bank=ann\tb4nk\t\t", "Mail=bob\tm41l\t\t"});
const std::string kThreeSites =
    SiteText({"Bank=ann\tb4nk\t\t", "Mail=bob\tm41l\t\t", "Shop=cy\tsh0p\t\t"});

}  // namespace

class LockTest : public TWindowFixture {
  Q_OBJECT
 private:
  void Open(const std::string& password) {
    OpenWritten("sites.zip", password, kTwoSites);
    QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "Mail"}));
  }
  void TypeUnlockPassword(const QString& password) {
    Find<QLineEdit>("edtUnlockPW")->setText(password);
    Find<QPushButton>("btnUnlock")->click();
  }
  QString Waiting() {
    auto* label = Find<QLabel>("lblLockWaiting");
    return label->isVisibleTo(window_.get()) ? label->text() : QString();
  }

 private slots:
  void init() {
    StartWindow();
    UseFakeClock();
  }
  void cleanup() { EndWindow(); }

  void lockForgetsEverythingAndUnlockReadsTheFileAgain() {
    Open("pw");
    window_->mmiLockClick();
    QVERIFY(window_->IsLocked());
    QVERIFY(SiteNames(*window_).isEmpty());
    QVERIFY(window_->ArchivePassword().isEmpty());
    QVERIFY(!Find<QWidget>("lbxSiteList")->isVisibleTo(window_.get()));
    QVERIFY(!Find<QAction>("mmiAdd")->isEnabled());
    QVERIFY(Find<QAction>("mmiExit")->isEnabled());
    QCOMPARE(Find<QLabel>("lblLockedPath")->text(), env_->Path("sites.zip"));

    // Changed by another program while locked: the unlock shows the file.
    WriteArchiveFile(env_->Path("sites.zip"), "pw", kThreeSites);
    TypeUnlockPassword("pw");
    QVERIFY(!window_->IsLocked());
    QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "Mail", "Shop"}));
    QCOMPARE(window_->ArchivePassword(), QStringLiteral("pw"));
    QVERIFY(Find<QAction>("mmiAdd")->isEnabled());
    QVERIFY(!window_->IsModified());
    QCOMPARE(env_->prompts, 1);  // only the open asked
    // What was shown before the lock is shown again, and only that: the
    // conflict-copy bar had nothing to offer.
    QVERIFY(Find<QWidget>("lbxSiteList")->isVisibleTo(window_.get()));
    QVERIFY(Find<QWidget>("pnlConflictCopy")->isHidden());
  }

  void wrongPasswordsKeepTheBoxWithoutLimit() {
    Open("pw");
    window_->mmiLockClick();
    for (int i = 0; i < 5; ++i) {
      TypeUnlockPassword("nope");
      QVERIFY(window_->IsLocked());
      QCOMPARE(Find<QLabel>("lblUnlockError")->text(),
               QStringLiteral("Wrong password. Try again."));
      QVERIFY(Find<QLineEdit>("edtUnlockPW")->text().isEmpty());
    }
    QVERIFY(SiteNames(*window_).isEmpty());
    TypeUnlockPassword("pw");
    QVERIFY(!window_->IsLocked());
    QCOMPARE(env_->prompts, 1);
  }

  void lockWithChangesAsksFirst_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QStringList>("onDisk");
    QTest::newRow("yes saves") << 0 << true << QStringList{"Bank", "Carrot", "Mail"};
    QTest::newRow("no drops") << 1 << true << QStringList{"Bank", "Mail"};
    QTest::newRow("cancel keeps") << 2 << false << QStringList{"Bank", "Mail"};
    QTest::newRow("dismissed keeps") << -1 << false << QStringList{"Bank", "Mail"};
  }
  void lockWithChangesAsksFirst() {
    QFETCH(int, answer);
    QFETCH(bool, locked);
    QFETCH(QStringList, onDisk);
    Open("pw");
    AddSiteThroughEditor(*window_, "Carrot");
    env_->answers.push_back(answer);
    window_->mmiLockClick();
    QCOMPARE(env_->requests.last().kind, TMsgRequest::Choice);
    QCOMPARE(env_->requests.last().text, QString(kSaveQuestion));
    QCOMPARE(window_->IsLocked(), locked);
    if (!locked) {
      QVERIFY(window_->IsModified());
      QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "Carrot", "Mail"}));
      return;
    }
    TypeUnlockPassword("pw");
    QCOMPARE(SiteNames(*window_), onDisk);
  }

  void archiveWithoutPasswordCannotBeLocked() {
    Open("");
    emit Find<QMenu>("mmiTools")->aboutToShow();
    QVERIFY(!Find<QAction>("mmiLock")->isEnabled());
    window_->mmiLockClick();
    LeaveIdle();
    window_->AutoLock().SetSessionLocked(true);
    QVERIFY(!window_->IsLocked());
    QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "Mail"}));
    QVERIFY(Waiting().isEmpty());
  }

  void idleLockWaitsForChangesAndDialogs() {
    State().SetValue("Options.SaveBeforeLock", "0");  // else the changes are saved
    Open("pw");
    emit Find<QMenu>("mmiTools")->aboutToShow();
    QVERIFY(Find<QAction>("mmiLock")->isEnabled());
    // Four minutes of the default five: not yet.
    now_ += 4 * 60 * 1000;
    window_->AutoLock().Check();
    QVERIFY(!window_->IsLocked());

    window_->SetModified(true);
    LeaveIdle();
    QVERIFY(!window_->IsLocked());
    QCOMPARE(Waiting(), QStringLiteral("Lock waits for unsaved changes"));
    window_->SetModified(false);

    QDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    window_->AutoLock().Check();
    QVERIFY(!window_->IsLocked());
    QCOMPARE(Waiting(), QStringLiteral("Lock waits for the open dialog"));
    dialog.close();
    window_->AutoLock().Check();
    QVERIFY(window_->IsLocked());
    QVERIFY(Waiting().isEmpty());
  }

  void inputPostponesAndZeroMinutesNeverLocks() {
    Open("pw");
    now_ += 4 * 60 * 1000;
    QTest::keyClick(Find<QWidget>("lbxSiteList"), Qt::Key_Down);
    now_ += 4 * 60 * 1000;
    window_->AutoLock().Check();
    QVERIFY(!window_->IsLocked());

    State().SetValue("Options.IdleLockMinutes", "0");
    LeaveIdle();
    QVERIFY(!window_->IsLocked());
  }

  void sessionLockFollowsTheOption() {
    Open("pw");
    State().SetValue("Options.LockWithScreenSaver", "0");
    window_->AutoLock().SetSessionLocked(true);
    QVERIFY(!window_->IsLocked());
    State().SetValue("Options.LockWithScreenSaver", "1");
    window_->AutoLock().Check();
    QVERIFY(window_->IsLocked());
  }
};

QTEST_MAIN(LockTest)
#include "lock_test.moc"
