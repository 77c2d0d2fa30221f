// Another program changes the open archive: the question at Save (Merge,
// Overwrite, Cancel) and re-reading at once while nothing is unsaved.

#include <QAction>
#include <QTest>

#include "tests/app/window_fixture.h"

namespace {

const char kBank[] = "Bank=ann\tb4nk\t\t";
const char kCarrot[] = "Carrot=\t\t\t";  // as the site editor adds it
const char kDill[] = "Dill=dan\td1ll\t\t";
const char kMail[] = "mail=bob\tm41l\t\t";
const QString kQuestion =
    QStringLiteral("The archive was changed by another program since it was opened.");
// The question's buttons, in order.
constexpr int kMerge = 0, kOverwrite = 1, kCancel = 2;

}  // namespace

class OutsideChangeTest : public TWindowFixture {
  Q_OBJECT
 private:
  QString path_;

  // Opens path_ holding Bank and mail under "pw", then adds Carrot.
  void OpenAndAddCarrot() {
    WriteArchiveFile(path_, "pw", SiteText({kBank, kMail}));
    env_->answers.push_back(path_);
    env_->passwords.push_back(QStringLiteral("pw"));
    Trigger("mmiFileOpen");
    AddSiteThroughEditor(*window_, "Carrot");
    QVERIFY(window_->IsModified());
  }
  int Questions() const {
    int count = 0;
    for (const TMsgRequest& request : env_->requests) count += request.kind == TMsgRequest::Choice;
    return count;
  }

 private slots:
  void init() {
    StartWindow();
    path_ = env_->Path("keys.zip");
  }
  void cleanup() { EndWindow(); }

  void mergeKeepsTheSitesOfBoth() {
    OpenAndAddCarrot();
    // The other program deleted mail and added Dill, under its own password.
    WriteArchiveFile(path_, "theirs", SiteText({kBank, kDill}));
    env_->answers.push_back(kMerge);
    env_->answers.push_back(int(mrOk));  // what the merge found
    env_->passwords.push_back(QStringLiteral("theirs"));
    Trigger("mmiFileSave");
    QVERIFY(env_->requests.size() >= 2);
    const TMsgRequest& question = env_->requests[env_->requests.size() - 2];
    QCOMPARE(question.kind, TMsgRequest::Choice);
    QVERIFY(question.text.startsWith(kQuestion));
    QCOMPARE(question.buttons, (QStringList{"Merge", "Overwrite", "Cancel"}));
    // Neither version records its changes (traditional encryption), so the
    // merge cannot know that mail was deleted there, and says so.
    QVERIFY(env_->requests.last().text.contains("without change records"));
    QVERIFY(env_->requests.last().text.contains("added: Dill"));
    QCOMPARE(env_->prompts, 2);  // "pw" at the open; "theirs" after "pw" failed
    QVERIFY(!window_->IsModified());
    QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "Carrot", "Dill", "mail"}));
    // Written under the window's own password.
    QCOMPARE(ReadDataMember(path_, "pw").value_or(""), SiteText({kBank, kCarrot, kDill, kMail}));
  }

  void mergeAbandonedAtThePasswordSavesNothing() {
    OpenAndAddCarrot();
    WriteArchiveFile(path_, "theirs", SiteText({kDill}));
    const QByteArray theirs = FileBytes(path_);
    env_->answers.push_back(kMerge);
    env_->passwords.push_back(std::nullopt);
    Trigger("mmiFileSave");
    QVERIFY(window_->IsModified());
    QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "Carrot", "mail"}));
    QCOMPARE(FileBytes(path_), theirs);
  }

  void overwriteOrCancel_data() {
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<bool>("overwrites");
    QTest::newRow("Overwrite") << QVariant(kOverwrite) << true;
    QTest::newRow("Cancel") << QVariant(kCancel) << false;
    QTest::newRow("box dismissed") << QVariant() << false;
  }
  void overwriteOrCancel() {
    QFETCH(QVariant, answer);
    QFETCH(bool, overwrites);
    OpenAndAddCarrot();
    WriteArchiveFile(path_, "pw", SiteText({kDill}));
    const QByteArray theirs = FileBytes(path_);
    env_->answers.push_back(answer);
    Trigger("mmiFileSave");
    QCOMPARE(Questions(), 1);
    QCOMPARE(window_->IsModified(), !overwrites);
    if (overwrites) {
      QCOMPARE(ReadDataMember(path_, "pw").value_or(""), SiteText({kBank, kCarrot, kMail}));
      return;
    }
    QCOMPARE(FileBytes(path_), theirs);
    // Cancelling the save that closing the window asked for keeps it open.
    env_->answers = {int(mrYes), kCancel};
    QVERIFY(!window_->close());
    QVERIFY(window_->IsModified());
    QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "Carrot", "mail"}));
  }

  void unmodifiedWindowReReadsAtOnceKeepingTheSelection() {
    WriteArchiveFile(path_, "pw", SiteText({kBank, kDill, kMail}));
    env_->answers.push_back(path_);
    env_->passwords.push_back(QStringLiteral("pw"));
    Trigger("mmiFileOpen");
    auto* list = window_->findChild<TSiteListBox*>("lbxSiteList");
    list->SetItemIndex(1);  // Dill
    WriteArchiveFile(path_, "pw", SiteText({kBank, kCarrot, kDill, kMail}));
    QTRY_COMPARE(SiteNames(*window_), (QStringList{"Bank", "Carrot", "Dill", "mail"}));
    QCOMPARE(list->ItemIndex(), 2);
    QVERIFY(!window_->IsModified());
    QCOMPARE(env_->prompts, 1);  // the window's password opened the new version
    // What was re-read is what a save compares with: no question.
    AddSiteThroughEditor(*window_, "Egg");
    Trigger("mmiFileSave");
    QCOMPARE(Questions(), 0);
    QVERIFY(!window_->IsModified());
  }
};

QTEST_MAIN(OutsideChangeTest)
#include "outside_change_test.moc"
