// Other versions merged into the open archive: File > Merge from archive...
// and the bar that offers a sync service's conflict copy.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/conflict_bar.h"
#include "archive/storage/vault_save.h"
#include "tests/app/window_fixture.h"

namespace {

const char kBank[] = "Bank=ann\tb4nk\t\t";
const char kMail1[] = "Mail=bob\tm1\t\t";
const char kMail2[] = "Mail=bob\tm2\t\t";
const char kShop[] = "Shop=\ts\t\t";
const QString kCopy = QStringLiteral("keys.sync-conflict-20261209-001635-H7X6HMZ.zip");

TSaveOptions Aes() {
  TSaveOptions options;
  options.password = "pw";
  options.encryption = TEncryption::Aes256;
  options.backups = 0;
  return options;
}

// An AES archive with change records, `now` turned into `later` by a save.
void WriteVersion(const QString& path, const std::string& before, const std::string& after) {
  const std::string file = QFile::encodeName(path).toStdString();
  SaveVault(file, after, RecordSaveNow(RecordSaveNow(std::nullopt, "", before), before, after),
            Aes());
}

}  // namespace

class VaultMergeTest : public TWindowFixture {
  Q_OBJECT
 private:
  QString path_;

  void Open() { OpenArchive(path_, QStringLiteral("pw")); }
  TConflictBar* Bar() const { return window_->findChild<TConflictBar*>("pnlConflictCopy"); }

 private slots:
  void init() {
    StartWindow();
    path_ = env_->Path("keys.zip");
  }
  void cleanup() { EndWindow(); }

  void mergeFromArchiveTakesDeletionsAndEditsAndSaysSo() {
    const std::string base = SiteText({kBank, kMail1});
    WriteVersion(path_, base, base);
    WriteVersion(env_->Path("other.zip"), base, SiteText({kMail2, kShop}));
    Open();
    env_->answers.push_back(env_->Path("other.zip"));
    env_->answers.push_back(int(mrOk));
    Trigger("mmiMergeArchive");
    QCOMPARE(SiteNames(*window_), (QStringList{"Mail", "Shop"}));
    QVERIFY(window_->IsModified());
    const QString told = env_->requests.last().text;
    QVERIFY2(told.contains("deleted: Bank") && told.contains("updated: Mail (bob)") &&
                 told.contains("added: Shop"),
             qPrintable(told));
    QVERIFY(!told.contains("change records"));
    QCOMPARE(env_->prompts, 1);  // the window's password opened the other archive
  }

  void conflictCopyIsOfferedOnceMergedSavedAndMovedToTheBackups() {
    const std::string base = SiteText({kBank, kMail1});
    WriteVersion(path_, base, SiteText({kBank, kMail2}));
    WriteVersion(env_->Path(kCopy), base, SiteText({kBank, kMail1, kShop}));
    Open();
    QVERIFY(!Bar()->isHidden());
    QVERIFY(Bar()->findChild<QLabel*>("lblConflictCopy")->text().contains(kCopy));
    env_->answers.push_back(int(mrOk));
    Bar()->findChild<QPushButton*>("btnMergeConflictCopy")->click();
    QVERIFY(Bar()->isHidden());
    QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "Mail", "Shop"}));
    QVERIFY(!window_->IsModified());
    QCOMPARE(ReadDataMember(path_, "pw").value_or(""), SiteText({kBank, kMail2, kShop}));
    QVERIFY(!QFile::exists(env_->Path(kCopy)));
    QCOMPARE(ReadDataMember(env_->Path("keys.backup.zip"), "pw").value_or(""),
             SiteText({kBank, kMail1, kShop}));
    // A copy that appears while the archive is open is offered through the
    // folder watch; one dismissed is not offered again.
    const QString next = QStringLiteral("keys_conflict-20261209-001635.zip");
    WriteVersion(env_->Path(next), base, base);
    QTRY_VERIFY(!Bar()->isHidden());
    QCOMPARE(Bar()->Copy(), next);
    Bar()->findChild<QPushButton*>("btnDismissConflictCopy")->click();
    QVERIFY(Bar()->isHidden());
    Open();
    QVERIFY(Bar()->isHidden());
  }
};

QTEST_MAIN(VaultMergeTest)
#include "vault_merge_test.moc"
