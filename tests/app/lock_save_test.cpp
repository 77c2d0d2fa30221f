// Saving by itself: an automatic lock saves unsaved changes first (and
// stays unlocked, saying why, when the save fails), and "Save after every
// change" saves each edit.

#include <QLabel>
#include <QTest>

#include "app/auto_lock.h"
#include "tests/app/window_fixture.h"
#include "tests/app/file_size_limit.h"

namespace {
const std::string kSites = SiteText({"Bank=ann\tb4nk\t\t", "Mail=bob\tm41l\t\t"});
}  // namespace

class LockSaveTest : public TWindowFixture {
  Q_OBJECT
 private:
  QString Path() const { return env_->Path("sites.zip"); }
  void OpenAndAdd(const std::string& password) {
    OpenWritten("sites.zip", password, kSites);
    for (int i = 0; i < 20; ++i) AddSiteThroughEditor(*window_, QString("site %1").arg(i));
    QVERIFY(window_->IsModified());
  }
  std::size_t SavedSites() {
    const auto data = ReadDataMember(Path(), "pw");
    return data ? QString::fromStdString(*data).split("\r\n", Qt::SkipEmptyParts).size() : 0;
  }

 private slots:
  void init() {
    StartWindow();
    UseFakeClock();
  }
  void cleanup() { EndWindow(); }

  void idleLockSavesFirst() {
    OpenAndAdd("pw");
    LeaveIdle();
    QVERIFY(window_->IsLocked());
    QCOMPARE(SavedSites(), 22u);
  }

  void failedSaveKeepsTheWindowUnlockedAndSaysWhyOnce() {
    OpenAndAdd("pw");
    const QByteArray before = FileBytes(Path());
    {
      const FileSizeLimit limit(before.size() / 2);
      LeaveIdle();
      LeaveIdle();  // still idle: not tried again
    }
    QVERIFY(!window_->IsLocked());
    QVERIFY(window_->IsModified());
    QCOMPARE(FileBytes(Path()), before);
    QCOMPARE(env_->errors.size(), 1);
    env_->errors.clear();
    QCOMPARE(window_->findChild<QLabel*>("lblLockWaiting")->text(),
             QStringLiteral("Lock waits for unsaved changes"));
    // The user comes back, then leaves again: this save works.
    QTest::keyClick(window_->findChild<QWidget*>("lbxSiteList"), Qt::Key_Down);
    window_->AutoLock().Check();
    LeaveIdle();
    QVERIFY(window_->IsLocked());
    QCOMPARE(SavedSites(), 22u);
  }

  void saveAfterEveryChange() {
    State().SetValue("Options.SaveAfterEveryChange", "1");
    OpenWritten("sites.zip", "pw", kSites);
    AddSiteThroughEditor(*window_, "Shop");
    QTRY_VERIFY(!window_->IsModified());
    QCOMPARE(SavedSites(), 3u);
  }
};

QTEST_MAIN(LockSaveTest)
#include "lock_save_test.moc"
