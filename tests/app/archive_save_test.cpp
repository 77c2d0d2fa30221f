// Writing archives from the main window: Save, Save As, New archive
// password, failures that must keep the old file, and the save questions
// when the window closes.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <csignal>

#include "archive/crypto/zip_encryption.h"
#include "archive/storage/archive_lock.h"
#include "archive/storage/safe_save.h"
#include "tests/common/flag_rows.h"
#include "tests/app/window_fixture.h"
#include "tests/app/file_size_limit.h"

namespace {

const std::string kText =
    SiteText({"Bank=ann\tb4nk\thttps://bank.example\t", "mail=bob\tm41l\t\tline 1\\nline 2"});

QStringList FilesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

}  // namespace

class ArchiveSaveTest : public TWindowFixture {
  Q_OBJECT
 private:
  // Runs New archive password: types the password and clicks the named
  // encryption button.
  void ChooseNewPassword(const QString& password, const char* encryption) {
    AnswerNewPassword(password, encryption);
    Trigger("mmiNewPW");
  }
  static TEncryption DataEncryption(const QString& path) {
    TZipReader reader;
    reader.SetFileName(QFile::encodeName(path).toStdString());
    const TZipItem* entry = reader.FindMember("Data");
    return entry ? EncryptionOf(*entry) : TEncryption::None;
  }
  void OpenArchive(const QString& path, const QString& password) {
    TWindowFixture::OpenArchive(path, password);
    QCOMPARE(window_->ArchivePath(), path);
  }

 private slots:
  void init() { StartWindow(); }
  void cleanup() { EndWindow(); }

  void saveAsWritesTheSitesByteExact() {
    const QString from = env_->Path("from.zip"), to = env_->Path("to.zip");
    WriteArchiveFile(from, "pw", kText);
    OpenArchive(from, "pw");
    env_->answers.push_back(to);
    Trigger("mmiFileSaveAs");
    QCOMPARE(env_->requests.last().kind, TMsgRequest::SaveFile);
    QCOMPARE(env_->requests.last().text, QStringLiteral("Save Vornix file as..."));
    QCOMPARE(env_->requests.last().filter, QStringLiteral("Vornix files (*.zip)|*.zip"));
    QCOMPARE(env_->requests.last().defaultExt, QStringLiteral("zip"));
    QCOMPARE(window_->ArchivePath(), to);
    QVERIFY(!window_->IsModified());
    QCOMPARE(ReadDataMember(to, "pw").value_or("<unreadable>"), kText);
    QVERIFY(!ReadDataMember(to, "other"));
    // Save As does not add to the Reopen list.
    QCOMPARE(ReopenPaths(*window_), QStringList{from});
    // Another zip tool reads what we wrote.
    QProcess unzip;
    unzip.start("unzip", {"-p", "-P", "pw", to, "Data"});
    QVERIFY(unzip.waitForFinished(-1));
    QCOMPARE(unzip.readAllStandardOutput(), QByteArray::fromStdString(kText));
  }

  void saveRewritesTheFileWithAddedSites() {
    const QString path = env_->Path("a.zip");
    WriteArchiveFile(path, "pw", kText);
    OpenArchive(path, "pw");
    AddSiteThroughEditor(*window_, "Carrot");
    QVERIFY(window_->IsModified());
    Trigger("mmiFileSave");
    QVERIFY(!window_->IsModified());
    QCOMPARE(ReadDataMember(path, "pw").value_or(""), kText.substr(0, kText.find("mail=")) +
                                                          "Carrot=\t\t\t\r\n" +
                                                          kText.substr(kText.find("mail=")));
  }

  void identicalSitesAreWrittenOnce() {
    const QString path = env_->Path("dup.zip");
    AddSiteThroughEditor(*window_, "Twin");
    AddSiteThroughEditor(*window_, "Twin");
    QCOMPARE(SiteNames(*window_), (QStringList{"Twin", "Twin"}));
    env_->answers.push_back(path);
    Trigger("mmiFileSave");
    QCOMPARE(ReadDataMember(path, "").value_or(""), SiteText({"Twin=\t\t\t"}));
  }

  void saveWithoutPathRunsSaveAs_data() {
    AddFlagRows("cancel", "file chosen", false, "dialog cancelled");
  }
  void saveWithoutPathRunsSaveAs() {
    QFETCH(bool, cancel);
    const QString path = env_->Path("new.zip");
    AddSiteThroughEditor(*window_, "Site");
    env_->answers.push_back(cancel ? QVariant() : QVariant(path));
    Trigger("mmiFileSave");
    QCOMPARE(env_->requests.last().kind, TMsgRequest::SaveFile);
    QCOMPARE(window_->IsModified(), cancel);
    QCOMPARE(window_->ArchivePath(), cancel ? QString() : path);
    QCOMPARE(QFile::exists(path), !cancel);
  }

  void newPasswordIsUsedAtTheNextSave() {
    const QString path = env_->Path("pw.zip");
    WriteArchiveFile(path, "old", kText);
    OpenArchive(path, "old");
    modal::WhenModal("TfrmSavePW", [](QWidget* dialog) {
      modal::SetText(dialog, "edtPW", "n\u00e9w");
      modal::SetText(dialog, "edtConfirm", "n\u00e9w");
      modal::Click(dialog, "btnOK");
    });
    Trigger("mmiNewPW");
    QVERIFY(window_->IsModified());
    QCOMPARE(ReadDataMember(path, "old").value_or(""), kText);  // not rewritten yet
    Trigger("mmiFileSave");
    // Written with the UTF-8 bytes of the password.
    QCOMPARE(ReadDataMember(path, "n\xc3\xa9w").value_or(""), kText);
  }

  void failedSaveKeepsTheOldFileAndTheModifiedState() {
    const QString path = env_->Path("keep.zip");
    WriteArchiveFile(path, "pw", kText);
    const QByteArray before = FileBytes(path);
    OpenArchive(path, "pw");
    for (int i = 0; i < 20; ++i) AddSiteThroughEditor(*window_, QString("site %1").arg(i));
    {
      const FileSizeLimit limit(before.size() / 2);  // the new file cannot be written
      Trigger("mmiFileSave");
    }
    QCOMPARE(env_->errors.size(), 1);
    env_->errors.clear();
    QVERIFY(window_->IsModified());
    QCOMPARE(FileBytes(path), before);
    QStringList files = FilesIn(env_->dir.path());
    files.removeAll("user.conf");  // the settings the test runs with
    QCOMPARE(files, QStringList{"keep.zip"});  // no temporary file left
  }

  // Another program holding the archive's lock: the window waits in a
  // dialog that names the file, and saves once the lock is free, or saves
  // nothing when the user cancels.
  void saveWaitsForTheLockOrStopsOnCancel_data() {
    AddFlagRows("cancel", "lock let go", false, "cancelled");
  }
  void saveWaitsForTheLockOrStopsOnCancel() {
    QFETCH(bool, cancel);
    const QString path = env_->Path("held.zip");
    WriteArchiveFile(path, "pw", kText);
    const QByteArray before = FileBytes(path);
    OpenArchive(path, "pw");
    AddSiteThroughEditor(*window_, "Carrot");
    auto held = std::make_unique<TArchiveLock>(QFile::encodeName(path).toStdString());
    QString label;
    modal::WhenModal("dlgLockWait", [&](QWidget* dialog) {
      label = dialog->findChild<QLabel*>()->text();
      if (cancel) {
        modal::Click(dialog, "btnCancel");
      } else {
        held.reset();
      }
    });
    Trigger("mmiFileSave");
    QVERIFY2(label.contains(path), qPrintable(label));
    QCOMPARE(window_->IsModified(), cancel);
    if (cancel) {
      QCOMPARE(FileBytes(path), before);
    } else {
      QVERIFY(ReadDataMember(path, "pw").value_or("").find("Carrot=") != std::string::npos);
    }
  }

  void backupThatCannotBeMadeIsWarnedOfAndTheSaveHappens() {
    const QString path = env_->Path("keys.zip"), backup = env_->Path("keys.backup.zip");
    WriteArchiveFile(path, "pw", kText);
    QVERIFY(mkfifo(QFile::encodeName(backup).constData(), 0600) == 0);
    OpenArchive(path, "pw");
    AddSiteThroughEditor(*window_, "Carrot");
    env_->answers.push_back(int(mrOk));
    Trigger("mmiFileSave");
    QVERIFY(!window_->IsModified());
    QCOMPARE(env_->requests.last().kind, TMsgRequest::Warning);
    QCOMPARE(env_->requests.last().text,
             "The backup " + backup +
                 " was not made: its name is held by something that is not a regular file");
    QVERIFY(ReadDataMember(path, "pw").value_or("").find("Carrot=") != std::string::npos);
    QVERIFY(QFileInfo(backup).isFile() == false);  // the FIFO is still there, untouched
    QVERIFY(QFileInfo::exists(backup));
  }

  void saveIntoReadOnlyFolderKeepsTheOldFile() {
    if (geteuid() == 0) QSKIP("root writes into read-only folders");
    QTemporaryDir folder;
    const QString path = folder.filePath("ro.zip");
    WriteArchiveFile(path, "pw", kText);
    const QByteArray before = FileBytes(path);
    OpenArchive(path, "pw");
    AddSiteThroughEditor(*window_, "New");
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    Trigger("mmiFileSave");
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(env_->errors.size(), 1);
    env_->errors.clear();
    QVERIFY(window_->IsModified());
    QCOMPARE(FileBytes(path), before);
  }

  void longPathIsShownShortenedAndSavedInFull() {
    QString folder = env_->dir.path();
    for (char c : {'a', 'b', 'c', 'd', 'e', 'f'}) folder += '/' + QString(40, QChar(c));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/keys.zip";
    WriteArchiveFile(path, "pw", kText);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    OpenArchive(path, "pw");
    auto* label = window_->findChild<QLabel*>("StatusBarText");
    QVERIFY(label->text().contains(QChar(0x2026)));
    QCOMPARE(label->toolTip(), path);
    AddSiteThroughEditor(*window_, "Carrot");
    Trigger("mmiFileSave");
    QVERIFY(!window_->IsModified());
    QVERIFY(ReadDataMember(path, "pw").value_or("").find("Carrot=") != std::string::npos);
  }

  void readOnlyArchiveKeepsTheChanges() {
    const QString path = env_->Path("ro.zip"), copy = env_->Path("copy.zip");
    WriteArchiveFile(path, "pw", kText);
    OpenArchive(path, "pw");
    AddSiteThroughEditor(*window_, "Carrot");
    QFile::setPermissions(path, QFile::ReadOwner);
    const QByteArray before = FileBytes(path);
    Trigger("mmiFileSave");
    QCOMPARE(env_->errors.size(), 1);
    QVERIFY2(env_->errors[0].contains("is read-only"), qPrintable(env_->errors[0]));
    env_->errors.clear();
    QVERIFY(window_->IsModified());
    QCOMPARE(FileBytes(path), before);
    env_->answers.push_back(copy);
    Trigger("mmiFileSaveAs");
    QVERIFY(!window_->IsModified());
    QVERIFY(ReadDataMember(copy, "pw").value_or("").find("Carrot=") != std::string::npos);
  }

  // A new password with AES chosen is saved as AES; reopened, the archive
  // shows it and stays AES at the next save.
  void newArchiveTakesTheEncryptionOfTheOptions() {
    const QString path = env_->Path("new.zip");
    State().SetValue("Options.Encryption", "aes256");
    Trigger("mmiFileNew");
    ChooseNewPassword("pw", "none: the preset choice stays");
    env_->answers.push_back(path);
    Trigger("mmiFileSave");
    QCOMPARE(DataEncryption(path), TEncryption::Aes256);
  }

  // An AES archive replaced by a traditional copy while the window was away
  // is warned of when it opens, and saved as AES-256 again.
  void weakerCopyIsWarnedOfAndSavedStrongAgain() {
    const QString path = env_->Path("keys.zip");
    TSaveOptions aes;
    aes.password = "pw";
    aes.encryption = TEncryption::Aes256;
    SaveDataArchive(QFile::encodeName(path).toStdString(), kText, aes);
    OpenArchive(path, "pw");
    Trigger("mmiFileClose");
    QFile::remove(path);
    WriteArchiveFile(path, "pw", kText);  // traditional
    env_->answers.push_back(path);
    env_->passwords.push_back("pw");
    env_->answers.push_back(int(mrOk));  // the warning
    Trigger("mmiFileOpen");
    QCOMPARE(env_->requests.last().kind, TMsgRequest::Warning);
    QVERIFY2(env_->requests.last().text.contains("had AES-256 when it was last seen"),
             qPrintable(env_->requests.last().text));
    AddSiteThroughEditor(*window_, "Carrot");
    Trigger("mmiFileSave");
    QCOMPARE(DataEncryption(path), TEncryption::Aes256);
  }

  void aesChoiceRoundTrip() {
    const QString path = env_->Path("aes.zip");
    WriteArchiveFile(path, "pw", kText);
    OpenArchive(path, "pw");
    auto* shown = window_->findChild<QLabel*>("lblEncryption");
    QCOMPARE(shown->text(), QStringLiteral("Traditional"));
    ChooseNewPassword("new", "rbtAes256");
    // The file still has the old encryption until the save.
    QCOMPARE(shown->text(), QStringLiteral("Traditional, AES-256 after saving"));
    Trigger("mmiFileSave");
    QCOMPARE(DataEncryption(path), TEncryption::Aes256);
    Trigger("mmiFileClose");
    OpenArchive(path, "new");
    QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "mail"}));
    QCOMPARE(shown->text(), QStringLiteral("AES-256"));
    AddSiteThroughEditor(*window_, "Carrot");
    Trigger("mmiFileSave");
    QCOMPARE(DataEncryption(path), TEncryption::Aes256);
  }

  void closeQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes saves, then the window closes") << int(mrYes);
    QTest::newRow("No closes without saving") << int(mrNo);
  }
  void closeQuestion() {
    QFETCH(int, answer);
    const QString path = env_->Path("close.zip");
    WriteArchiveFile(path, "", kText);
    const QByteArray before = FileBytes(path);
    OpenArchive(path, "");
    AddSiteThroughEditor(*window_, "Added");
    env_->answers.push_back(answer);
    QVERIFY(window_->close());
    QCOMPARE(env_->requests.last().text,
             QStringLiteral("The current archive has been modified.  Save changes?"));
    QCOMPARE(FileBytes(path) != before, answer == mrYes);
    QCOMPARE(window_->IsModified(), answer != mrYes);
  }

  void closeStaysOpenWhenSavingFails() {
    AddSiteThroughEditor(*window_, "Added");
    window_->SetArchivePath(env_->Path("missing folder/a.zip"));
    env_->answers.push_back(int(mrYes));
    QVERIFY(!window_->close());
    QCOMPARE(env_->errors.size(), 1);
    env_->errors.clear();
    QVERIFY(window_->IsModified());
  }

  void teardownAsksAgainAndStoresTheSettings() {
    const QString path = env_->Path("end.zip");
    WriteArchiveFile(path, "", kText);
    OpenArchive(path, "");
    AddSiteThroughEditor(*window_, "Added");
    env_->answers.push_back(int(mrNo));
    QVERIFY(window_->close());
    env_->answers.push_back(int(mrYes));  // the second question, during teardown
    window_.reset();
    QCOMPARE(env_->requests.size(), 3);
    QVERIFY(ReadDataMember(path, "").value_or("").find("Added=") != std::string::npos);
    QCOMPARE(State().GetValue("Reopen0"), path);
    QVERIFY(!State().GetValue("TfrmMain").isEmpty());
    QVERIFY(QFile::exists(env_->Path("user.conf")));
    window_ = env_->MakeWindow();  // for cleanup()
    QCOMPARE(ReopenPaths(*window_), QStringList{path});
  }
};

QTEST_MAIN(ArchiveSaveTest)
#include "archive_save_test.moc"
