// The settings store: table rules, both storages, the Reopen menu and the
// accessor guard. Every test works on temporary files.

#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

#include "core/settings_file.h"
#include "support/options.h"
#include "support/state.h"
#include "tests/common/accessor_guard.h"

class StateTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QString userPath_;
  QString iniPath_;

  static void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
  }
  // Rows for a test that runs against both files.
  static void StorageRows() {
    QTest::addColumn<bool>("useIni");
    QTest::addColumn<QByteArray>("section");
    QTest::newRow("user store") << false << QByteArray("[General]");
    QTest::newRow("ini") << true << QByteArray("[Vornix]");
  }
  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    userPath_ = dir_->filePath("Vornix.conf");
    iniPath_ = dir_->filePath("vornix.ini");
    TqelState::SetStorageOverride(userPath_, iniPath_);
    State().Clear();
    State().UseIni = false;
  }

  void accessorGuard() { CheckAccessorGuard(&State, "use State accessor function"); }

  void setValueRules() {
    TqelState& s = State();
    s.SetValue("TfrmMain", "0 1 2 3 4");
    s.SetValue("TfrmSite", "5");
    s.SetValue("tfrmmain", "2");  // same name: keeps its place, takes the new case
    QCOMPARE(s.Entries(), QStringList({"tfrmmain=2", "TfrmSite=5"}));
    QCOMPARE(s.GetValue("TFRMMAIN"), QString("2"));
    s.SetValue("TFRMMAIN", "");
    QCOMPARE(s.Entries(), QStringList({"TfrmSite=5"}));
    QCOMPARE(s.GetValue("TfrmMain"), QString());
    s.SetValue("Missing", "");  // removing an absent name changes nothing
    QCOMPARE(s.Entries(), QStringList({"TfrmSite=5"}));
  }

  void valueWithEqualsRoundTrips_data() { StorageRows(); }
  void valueWithEqualsRoundTrips() {
    QFETCH(bool, useIni);
    TqelState& s = State();
    s.UseIni = useIni;
    // The last ones look like the old quoting and are written quoted.
    const QStringList values{"a=b==c",  "x, y",       "@at",      "C:\\Data\\Safe.zip",
                             " lead",   "semi;colon", "quote\"d", "tab\there",
                             "Grüße ✓", "#hash",      "trail ",   "\"a, b\"",
                             "\" x\"",  "\"@@q;\""};
    for (int i = 0; i < values.size(); ++i) s.SetValue(QString("Name%1").arg(i), values[i]);
    s.Save();
    s.Clear();
    s.Load();
    for (int i = 0; i < values.size(); ++i) {
      QCOMPARE(s.GetValue(QString("name%1").arg(i)), values[i]);
    }
  }

  void storagesAreSeparate() {
    State().SetValue("TfrmMain", "2");
    State().Save();
    QVERIFY(QFile::exists(userPath_));
    QVERIFY(!QFile::exists(iniPath_));
    State().Clear();
    State().UseIni = true;
    State().Load();
    QCOMPARE(State().Entries(), QStringList());
    State().SetValue("TfrmSite", "1");
    State().Save();
    QVERIFY(ReadFile(iniPath_).contains("[Vornix]"));
    QVERIFY(!ReadFile(userPath_).contains("TfrmSite"));
  }

  void missingStorageLoadsNothing() {
    State().Load();
    State().UseIni = true;
    State().Load();
    QCOMPARE(State().Entries(), QStringList());
  }

  void iniKeysWithEmptyValueAreNotLoaded() {
    WriteFile(iniPath_, "[Vornix]\nA=1\nB=\nreopen0=/x/a.zip\n[Other]\nC=3\n");
    State().UseIni = true;
    State().Load();
    QCOMPARE(State().Entries(), QStringList({"A=1", "reopen0=/x/a.zip"}));
    QCOMPARE(State().GetValue("Reopen0"), QString("/x/a.zip"));
  }

  void handEditedFileSurvivesASave_data() { StorageRows(); }
  void handEditedFileSurvivesASave() {
    QFETCH(bool, useIni);
    QFETCH(QByteArray, section);
    const QByteArray entries =
        "Alpha=a, b\n"
        "Reopen0=/home/u/a;b.zip\n"
        "Name with blanks=x\n"
        "Eq=a=b==c\n"
        "Lead=  two blanks\n"
        "Back=C:\\\\Data\\x\\t\\\"q\\\"\n"
        "Quoted=\"plain\"\n"
        "TfrmMain=0 295 379 398 440\n";
    const QByteArray file = "; kept\n" + section + "\n" + entries + "\n[Other]\nAlpha=other\n";
    const QString path = useIni ? iniPath_ : userPath_;
    WriteFile(path, file);
    State().UseIni = useIni;
    State().Load();
    QCOMPARE(State().Entries(), QString::fromUtf8(entries).split(u'\n', Qt::SkipEmptyParts));
    QCOMPARE(State().GetValue("NAME WITH BLANKS"), QString("x"));
    QCOMPARE(State().GetValue("Back"), QString("C:\\\\Data\\x\\t\\\"q\\\""));
    State().Save();
    QCOMPARE(ReadFile(path), file);
  }

  // Files of earlier versions, written by the settings class they used.
  void oldQuotedFileStillLoads_data() { StorageRows(); }
  void oldQuotedFileStillLoads() {
    QFETCH(bool, useIni);
    QFETCH(QByteArray, section);
    const QString path = useIni ? iniPath_ : userPath_;
    const QStringList values{"a, b",
                             "/home/u/a;b.zip",
                             " lead",
                             "trail ",
                             "x=y",
                             "q\"d, back\\slash\ttab",
                             "@at, x",
                             "\x01"
                             "1, control",
                             "plain"};
    {
      QSettings old(path, QSettings::IniFormat);
      if (useIni) old.beginGroup("Vornix");
      for (int i = 0; i < values.size(); ++i) old.setValue(QString("Name%1").arg(i), values[i]);
    }
    QVERIFY(ReadFile(path).contains("Name0=\"a, b\""));
    State().UseIni = useIni;
    State().Load();
    for (int i = 0; i < values.size(); ++i) {
      QCOMPARE(State().GetValue(QString("Name%1").arg(i)), values[i]);
    }
    State().Save();
    QVERIFY(ReadFile(path).startsWith(section + "\nName0=a, b\nName1=/home/u/a;b.zip\n"));
  }

  void droppedNameKeepsStoredValue() {
    WriteFile(userPath_, "[General]\nZ=1\nT=tpl\nB=2\n");
    State().Load();
    State().SetValue("T", "");
    State().SetValue("C", "3");
    State().Save();
    QCOMPARE(ReadFile(userPath_), QByteArray("[General]\nZ=1\nB=2\nC=3\nT=tpl\n"));
  }

  // OK in the Options dialog writes them at once: a crash later keeps them,
  // and vornix-cli sees them; the rest of the store waits for the exit.
  void optionsAreWrittenAtOnce() {
    WriteFile(userPath_, "[General]\nTfrmMain=0 1 2 3 4\nOptions.Backups=1\n");
    State().Load();
    State().SetValue("Reopen0", "/a.zip");
    TOptions options;
    options.backups = 3;
    options.encryption = TNewEncryption::Aes256;
    WriteOptions(options);
    const QByteArray file = ReadFile(userPath_);
    QVERIFY(file.startsWith("[General]\nTfrmMain=0 1 2 3 4\nOptions.Backups=3\n"));
    QVERIFY(file.contains("\nOptions.Encryption=aes256\n"));
    QVERIFY(!file.contains("Reopen0"));
    QCOMPARE(ReadSettingsValue(UserSettingsFile(), kBackupsSetting),
             std::optional<std::string>("3"));
  }

  void saveIsPrivateAndLeavesNoTemporaryFile_data() { StorageRows(); }
  void saveIsPrivateAndLeavesNoTemporaryFile() {
    QFETCH(bool, useIni);
    // The per-user folder may not exist yet.
    const QString folder = dir_->filePath("Kestrum");
    const QString path = useIni ? iniPath_ : folder + "/Vornix.conf";
    TqelState::SetStorageOverride(folder + "/Vornix.conf", iniPath_);
    if (useIni) WriteFile(iniPath_, "[Vornix]\nOld=1\n");  // umask mode, readable by all
    State().UseIni = useIni;
    State().SetValue("Reopen0", "/home/u/keys.zip");
    State().Save();
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, mode_t(0600));
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden),
             QStringList({QFileInfo(path).fileName()}));
  }

  void unwritableIniReportsPath() {
    // A file where the folder should be: no one can write there, not even root.
    WriteFile(dir_->filePath("blocker"), "x");
    const QString badIni = dir_->filePath("blocker/vornix.ini");
    TqelState::SetStorageOverride(userPath_, badIni);
    State().UseIni = true;
    State().SetValue("TfrmMain", "2");
    try {
      State().Save();
      QFAIL("no error");
    } catch (const std::runtime_error& error) {
      QCOMPARE(QString(error.what()), "Unable to write to " + badIni);
    }
  }

  void unwritableUserStoreIsSilent() {
    WriteFile(dir_->filePath("blocker"), "x");
    TqelState::SetStorageOverride(dir_->filePath("blocker/Vornix.conf"), iniPath_);
    State().SetValue("TfrmMain", "2");
    State().Save();  // the folder cannot be created: a file is in its place
    QCOMPARE(State().GetValue("TfrmMain"), QStringLiteral("2"));
  }

  void entryNoLineHoldsIsReportedOthersKept() {
    State().SetValue("A", "1");
    State().SetValue("x=y", "2");
    State().SetValue("Break", "two\nlines");
    State().SetValue("with/slash\\", "3");
    try {
      State().Save();
      QFAIL("no error");
    } catch (const std::runtime_error& error) {
      QCOMPARE(QString(error.what()), QString("Failed to set data for 'x=y'"));
    }
    State().Clear();
    State().Load();
    QCOMPARE(State().Entries(), QStringList({"A=1", "with/slash\\=3"}));
  }

  void reopenGapsAreClosed() {
    WriteFile(userPath_,
              "[General]\nReopen0=/a/0.zip\nReopen2=/a/2.zip\nReopen3=/a/3.zip\n"
              "Reopen4=/a/4.zip\nKeep=me\n");
    State().Load();
    QMenu menu;
    QStringList clicked;
    State().LoadReopenMenu(&menu, [&](QAction* a) { clicked << ReopenActionPath(a); });
    QCOMPARE(menu.actions().size(), 4);
    menu.actions().at(1)->trigger();
    QCOMPARE(clicked, QStringList({"/a/2.zip"}));
    State().StoreReopenMenu(&menu);
    State().Save();
    State().Clear();
    State().Load();
    QCOMPARE(State().GetValue("Reopen0"), QString("/a/0.zip"));
    QCOMPARE(State().GetValue("Reopen1"), QString("/a/2.zip"));
    QCOMPARE(State().GetValue("Reopen3"), QString("/a/4.zip"));
    QCOMPARE(State().GetValue("Reopen4"), QString());
    QCOMPARE(State().GetValue("Keep"), QString("me"));
  }

  void storedReopenInOtherCaseIsReplaced() {
    WriteFile(userPath_, "[General]\nreopen0=/old.zip\n");
    State().Load();
    QMenu menu;
    auto* action = new QAction(&menu);
    SetReopenActionPath(action, "/new.zip");
    menu.addAction(action);
    State().StoreReopenMenu(&menu);
    State().Save();
    State().Clear();
    State().Load();
    QCOMPARE(State().Entries(), QStringList({"Reopen0=/new.zip"}));
  }

  void ampersandInReopenPathSurvives() {
    State().SetValue("Reopen0", "/home/me/R&D/a&&b.zip");
    QMenu menu;
    State().LoadReopenMenu(&menu, [](QAction*) {});
    QCOMPARE(menu.actions().at(0)->text(), QString("/home/me/R&&D/a&&&&b.zip"));
    State().StoreReopenMenu(&menu);
    QCOMPARE(State().GetValue("Reopen0"), QString("/home/me/R&D/a&&b.zip"));
  }

  void captionWithoutDataIsUnescaped() {
    QMenu menu;
    menu.addAction("/x/R&&D.zip");
    menu.addSeparator();
    menu.addAction("/y.zip");
    State().StoreReopenMenu(&menu);
    QCOMPARE(State().Entries(), QStringList({"Reopen0=/x/R&D.zip", "Reopen1=/y.zip"}));
  }

  void useIniSwitch_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("expected");
    QTest::newRow("dash") << QStringList{"vornix", "-useini"} << true;
    QTest::newRow("slash capitals") << QStringList{"vornix", "/USEINI"} << true;
    QTest::newRow("mixed after path") << QStringList{"vornix", "a.zip", "-UseIni"} << true;
    QTest::newRow("longer") << QStringList{"vornix", "-useinix"} << false;
    QTest::newRow("no prefix") << QStringList{"vornix", "useini"} << false;
    QTest::newRow("double dash") << QStringList{"vornix", "--useini"} << false;
    QTest::newRow("none") << QStringList{"vornix"} << false;
  }
  void useIniSwitch() {
    QFETCH(QStringList, args);
    QFETCH(bool, expected);
    QCOMPARE(TqelState::HasUseIniSwitch(args), expected);
  }
};

QTEST_MAIN(StateTest)
#include "state_test.moc"
