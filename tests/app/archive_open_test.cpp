// Reading archives into the main window: Open, Reopen and the command line,
// with the password prompts and their retries.

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include "core/text_codec.h"
#include "tests/common/flag_rows.h"
#include "tests/app/window_fixture.h"

namespace {

const std::string kText =
    SiteText({"Bank=ann\tb4nk\thttps://bank.example\t", "mail=bob\tm41l\t\tline 1\\nline 2"});
const QStringList kNames{"Bank", "mail"};

// A wrong password that passes the one-byte check of the encryption header,
// so that extraction gets as far as writing (wrong) data; empty when none
// was found.
std::string PasswordPassingHeaderCheck(const QString& path) {
  for (int i = 0; i < 20000; ++i) {
    const std::string candidate = "wrong" + std::to_string(i);
    const TExtracted extracted = ExtractData(path, candidate);
    if (extracted.failed && !extracted.bytes.empty()) return candidate;
  }
  return {};
}

}  // namespace

class ArchiveOpenTest : public TWindowFixture {
  Q_OBJECT
 private:
  void Open(const QString& path) {
    env_->answers.push_back(path);
    Trigger("mmiFileOpen");
  }
  void ExpectOpened(const QString& path) {
    QCOMPARE(SiteNames(*window_), kNames);
    QCOMPARE(window_->ArchivePath(), path);
    QVERIFY(!window_->IsModified());
    QCOMPARE(ReopenPaths(*window_).value(0), path);
  }
  void ExpectAbandoned() {
    QCOMPARE(SiteNames(*window_), QStringList());
    QVERIFY(window_->ArchivePath().isEmpty());
    QVERIFY(ReopenPaths(*window_).isEmpty());
  }

 private slots:
  void init() { StartWindow(); }
  void cleanup() { EndWindow(TErrors::Allowed); }

  void openAsksForAVornixFile() {
    env_->answers.push_back(QVariant());  // cancelled
    Trigger("mmiFileOpen");
    QCOMPARE(env_->requests.size(), 1);
    QCOMPARE(env_->requests[0].kind, TMsgRequest::OpenFile);
    QCOMPARE(env_->requests[0].text, QStringLiteral("Open Vornix file"));
    QCOMPARE(env_->requests[0].filter, QStringLiteral("Vornix files (*.zip)|*.zip"));
    ExpectAbandoned();
  }

  void unencryptedArchiveOpensWithoutPromptAndKeepsThePassword() {
    const QString secret = env_->Path("secret.zip"), plain = env_->Path("plain.zip");
    WriteArchiveFile(secret, "pw", kText);
    WriteArchiveFile(plain, "", kText);
    env_->passwords = {QStringLiteral("pw")};
    Open(secret);
    QCOMPARE(window_->ArchivePassword(), QStringLiteral("pw"));
    Open(plain);
    QCOMPARE(env_->prompts, 1);
    ExpectOpened(plain);
    QCOMPARE(window_->ArchivePassword(), QStringLiteral("pw"));
  }

  void passwordPrompts_data() {
    QTest::addColumn<QStringList>("entered");  // "<cancel>" cancels the prompt
    QTest::addColumn<int>("prompts");
    QTest::addColumn<bool>("opens");
    QTest::newRow("right at the first prompt") << QStringList{"pw"} << 1 << true;
    QTest::newRow("right at the second prompt") << QStringList{"x", "pw"} << 2 << true;
    QTest::newRow("right at the third prompt") << QStringList{"x", "y", "pw"} << 3 << true;
    QTest::newRow("three wrong passwords") << QStringList{"x", "y", "z", "pw"} << 3 << false;
    QTest::newRow("cancel at once") << QStringList{"<cancel>", "pw"} << 1 << false;
    QTest::newRow("cancel at the second prompt") << QStringList{"x", "<cancel>"} << 2 << false;
  }
  void passwordPrompts() {
    QFETCH(QStringList, entered);
    QFETCH(int, prompts);
    QFETCH(bool, opens);
    const QString path = env_->Path("secret.zip");
    WriteArchiveFile(path, "pw", kText);
    for (const QString& password : entered) {
      env_->passwords.push_back(password == "<cancel>" ? std::nullopt
                                                       : std::optional<QString>(password));
    }
    Open(path);
    QCOMPARE(env_->prompts, prompts);
    if (opens) {
      ExpectOpened(path);
    } else {
      ExpectAbandoned();
    }
  }

  void archiveFromAnotherZipToolOpens() {
    QTemporaryDir work;
    QFile data(work.filePath("Data"));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write(kText.data(), qint64(kText.size()));
    data.close();
    const QString path = env_->Path("peer.zip");
    QProcess zip;
    zip.setWorkingDirectory(work.path());
    zip.start("zip", {"-q", "-P", "peer secret", path, "Data"});
    QVERIFY(zip.waitForFinished(-1));
    QCOMPARE(zip.exitCode(), 0);
    env_->passwords = {QStringLiteral("peer secret")};
    Open(path);
    QCOMPARE(env_->prompts, 1);
    ExpectOpened(path);
  }

  void nonAsciiPasswords_data() {
    AddFlagRows("writtenAsCp1252", "written as UTF-8", false,
                "written as Windows-1252, as older archives were");
  }
  void nonAsciiPasswords() {
    QFETCH(bool, writtenAsCp1252);
    const QString password = QStringLiteral("p\u00e4ssw\u00f6rd \u20ac");
    const std::string utf8 = password.toStdString();
    const std::string bytes = writtenAsCp1252 ? Utf8ToCp1252(utf8).value() : utf8;
    QVERIFY(bytes != utf8 || !writtenAsCp1252);
    const QString path = env_->Path("legacy.zip");
    WriteArchiveFile(path, bytes, kText);
    env_->passwords = {password};
    Open(path);
    QCOMPARE(env_->prompts, 1);  // the second form is tried without asking again
    ExpectOpened(path);
  }

  void legacyRetryIsNoExtraPrompt() {
    // A wrong non-ASCII password is tried in both forms per prompt; the
    // user is still asked exactly three times.
    const QString path = env_->Path("secret.zip");
    WriteArchiveFile(path, "pw", kText);
    const QString wrong = QStringLiteral("\u00e9t\u00e9");
    env_->passwords = {wrong, wrong, wrong, QStringLiteral("pw")};
    Open(path);
    QCOMPARE(env_->prompts, 3);
    ExpectAbandoned();
  }

  void failedAttemptLeavesNothingInTheBuffer() {
    const QString path = env_->Path("stored.zip");
    WriteStoredArchive(path, "right", kText);
    const std::string wrong = PasswordPassingHeaderCheck(path);
    QVERIFY2(!wrong.empty(), "no wrong password passes the header check");
    env_->passwords = {QString::fromStdString(wrong), QStringLiteral("right")};
    Open(path);
    QCOMPARE(env_->prompts, 2);
    ExpectOpened(path);
    // Saving writes exactly the member's lines back, nothing of the failed
    // attempt.
    window_->SetModified(true);
    Trigger("mmiFileSave");
    QCOMPARE(ReadDataMember(path, "right").value_or("<unreadable>"), kText);
  }

  void damagedAttemptIsNotLoadedWhenAbandoned() {
    const QString path = env_->Path("stored.zip");
    WriteStoredArchive(path, "right", kText);
    const std::string wrong = PasswordPassingHeaderCheck(path);
    QVERIFY(!wrong.empty());
    env_->passwords = {QString::fromStdString(wrong), std::nullopt};
    Open(path);
    ExpectAbandoned();
  }

  // Changed with the no-site-list warning: the archive still opens empty,
  // and says once that a save will add the site list.
  void archiveWithoutDataMemberWarnsOnce() {
    QTemporaryDir work;
    QFile other(work.filePath("Other"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("x");
    other.close();
    const QString path = env_->Path("nodata.zip");
    QProcess zip;
    zip.setWorkingDirectory(work.path());
    zip.start("zip", {"-q", path, "Other"});
    QVERIFY(zip.waitForFinished(-1));
    env_->answers = {path, int(mrOk)};
    Trigger("mmiFileOpen");
    QCOMPARE(env_->requests.size(), 2);
    QCOMPARE(env_->requests[1].kind, TMsgRequest::Warning);
    QCOMPARE(env_->requests[1].text,
             QStringLiteral("This archive holds no site list; saving will add one."));
    QCOMPARE(SiteNames(*window_), QStringList());
    QCOMPARE(window_->ArchivePath(), path);
    QCOMPARE(ReopenPaths(*window_), QStringList{path});
  }

  void siteListTooLargeIsRefusedUnread() {
    const QString path = env_->Path("bomb.zip");
    WriteStoredArchive(path, "", kText);
    QByteArray bytes = FileBytes(path);
    // Declare 300,000,000 bytes in the local header (offset 22) and the
    // directory entry (offset 24).
    const QByteArray huge = QByteArray::fromHex("00a3e111");
    bytes.replace(22, 4, huge);
    bytes.replace(bytes.indexOf("PK\x01\x02") + 24, 4, huge);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    Open(path);
    QCOMPARE(env_->errors, QStringList{"The site list is too large (300000000 bytes)"});
    QCOMPARE(SiteNames(*window_), QStringList());
    QCOMPARE(env_->prompts, 0);
  }

  void unreadableFileShowsTheErrorAndKeepsThePath() {
    const QString path = env_->Path("text.zip");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not an archive, just some text that is long enough");
    file.close();
    Open(path);
    QCOMPARE(env_->errors.size(), 1);
    QVERIFY(!env_->errors[0].isEmpty());
    QCOMPARE(window_->ArchivePath(), path);
    QCOMPARE(SiteNames(*window_), QStringList());
    QVERIFY(ReopenPaths(*window_).isEmpty());
    env_->errors.clear();
  }

  void commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("opens");
    QTest::newRow("absolute") << QStringList{"<abs>"} << true;
    QTest::newRow("quoted") << QStringList{"\"<abs>\""} << true;
    QTest::newRow("relative") << QStringList{"my archive.zip"} << true;
    QTest::newRow("after switch and missing file")
        << QStringList{"-useini", "missing.zip", "my archive.zip"} << true;
    QTest::newRow("missing only") << QStringList{"missing.zip"} << false;
    QTest::newRow("none") << QStringList{} << false;
  }
  void commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, opens);
    const QString path = env_->Path("my archive.zip");
    WriteArchiveFile(path, "", kText);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(env_->dir.path());
    arguments.replaceInStrings("<abs>", path);
    window_->OpenCommandLineArchive(arguments);
    QDir::setCurrent(previous);
    if (opens) {
      ExpectOpened(path);
    } else {
      ExpectAbandoned();
    }
  }
};

QTEST_MAIN(ArchiveOpenTest)
#include "archive_open_test.moc"
