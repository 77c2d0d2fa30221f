// Import: chosen sites of another archive join the current one; a cancelled
// or abandoned import leaves the current archive exactly as it was.

#include <QAction>
#include <QListWidget>
#include <QTest>

#include "tests/app/window_fixture.h"

namespace {

const std::string kCurrent = SiteText({"Home=me\th0me\t\t"});
const std::string kOther = SiteText({"Alpha=a\tpa\t\t", "Beta=b\tpb\t\t", "Gamma=g\tpg\t\t"});

// Answers the import dialog: moves the named sites to the chosen list and
// presses OK (or Cancel when ok is false).
void AnswerImport(QStringList sites, bool ok = true, int* offered = nullptr) {
  modal::WhenModal("TfrmImport", [sites, ok, offered](QWidget* dialog) {
    auto* from = modal::Child<QListWidget>(dialog, "lbxFromArchive");
    if (offered) *offered = from->count();
    for (const QString& site : sites) {
      from->clearSelection();
      const QList<QListWidgetItem*> items = from->findItems(site, Qt::MatchExactly);
      if (!items.isEmpty()) items.first()->setSelected(true);
      modal::Click(dialog, "btnAdd");
    }
    modal::Click(dialog, ok ? "btnOK" : "btnCancel");
  });
}

}  // namespace

class ImportCommandTest : public TWindowFixture {
  Q_OBJECT
 private:
  QString current_, other_;

  void Import(const QString& path) {
    env_->answers.push_back(path);
    Trigger("mmiImport");
  }
  void ExpectUnchanged() {
    QCOMPARE(SiteNames(*window_), QStringList{"Home"});
    QCOMPARE(window_->ArchivePath(), current_);
    QCOMPARE(window_->ArchivePassword(), QStringLiteral("mine"));
    QVERIFY(!window_->IsModified());
  }

 private slots:
  void init() {
    StartWindow();
    current_ = env_->Path("current.zip");
    other_ = env_->Path("other.zip");
    WriteArchiveFile(current_, "mine", kCurrent);
    WriteArchiveFile(other_, "theirs", kOther);
    OpenArchive(current_, QStringLiteral("mine"));
    env_->requests.clear();
    env_->prompts = 0;
  }
  void cleanup() { EndWindow(); }

  void chosenSitesJoinTheListAndMarkModified() {
    env_->passwords.push_back(QStringLiteral("theirs"));
    int offered = 0;
    AnswerImport({"Gamma", "Alpha"}, true, &offered);
    Import(other_);
    QCOMPARE(env_->requests.first().kind, TMsgRequest::OpenFile);
    QCOMPARE(env_->requests.first().text, QStringLiteral("Select Vornix file to import from"));
    QCOMPARE(env_->requests.first().defaultExt, QStringLiteral("zip"));
    QCOMPARE(offered, 3);
    QCOMPARE(SiteNames(*window_), (QStringList{"Alpha", "Gamma", "Home"}));
    QVERIFY(window_->IsModified());
    // The other archive's password is not kept; path and Reopen list stay.
    QCOMPARE(window_->ArchivePassword(), QStringLiteral("mine"));
    QCOMPARE(window_->ArchivePath(), current_);
    QCOMPARE(ReopenPaths(*window_), QStringList{current_});
    Trigger("mmiFileSave");
    QCOMPARE(ReadDataMember(current_, "mine").value_or(""),
             SiteText({"Alpha=a\tpa\t\t", "Gamma=g\tpg\t\t", "Home=me\th0me\t\t"}));
  }

  void nothingChosenChangesNothing() {
    env_->passwords.push_back(QStringLiteral("theirs"));
    AnswerImport({}, true);
    Import(other_);
    ExpectUnchanged();
  }

  void importDialogCancelledChangesNothing() {
    env_->passwords.push_back(QStringLiteral("theirs"));
    AnswerImport({"Beta"}, false);
    Import(other_);
    ExpectUnchanged();
  }

  void fileDialogCancelledChangesNothing() {
    Import(QString());
    QCOMPARE(env_->prompts, 0);
    ExpectUnchanged();
  }

  void missingFileChangesNothing() {
    Import(env_->Path("missing.zip"));
    QCOMPARE(env_->prompts, 0);
    ExpectUnchanged();
  }

  void abandonedReadEndsTheImport_data() {
    QTest::addColumn<QStringList>("entered");
    QTest::newRow("prompt cancelled") << QStringList{"<cancel>"};
    QTest::newRow("three wrong passwords") << QStringList{"x", "y", "z"};
  }
  void abandonedReadEndsTheImport() {
    QFETCH(QStringList, entered);
    window_->SetModified(true);  // even a modified archive is not touched
    for (const QString& password : entered) {
      env_->passwords.push_back(password == "<cancel>" ? std::nullopt
                                                       : std::optional<QString>(password));
    }
    Import(other_);  // no import dialog is answered: none may open
    QCOMPARE(env_->prompts, entered.size());
    QCOMPARE(env_->requests.size(), 1);  // only the file dialog, no save question
    QVERIFY(window_->IsModified());
    window_->SetModified(false);
    ExpectUnchanged();
  }
};

QTEST_MAIN(ImportCommandTest)
#include "import_command_test.moc"
