// The desktop launcher: its content, the quoting of the archive path on the
// Exec line (read back by the desktop entry rules), and failures.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

#include "support/build_config.h"
#include "support/desktop_exec.h"
#include "support/icons.h"
#include "support/launcher_icon.h"
#include "support/shortcut.h"

namespace {

QString DesignParameters(bool useIni, QString archive) {
  // As the main window builds them: optional switch, the path in quotes
  // with inner quotes doubled.
  return QString(useIni ? "-useini " : "") + '"' + archive.replace("\"", "\"\"") + '"';
}

QMap<QString, QString> ReadEntry(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QMap<QString, QString> keys;
  const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
  for (const QString& line : lines) {
    const qsizetype eq = line.indexOf('=');
    if (eq > 0) keys[line.left(eq)] = line.mid(eq + 1);
  }
  keys["#first"] = lines.value(0);
  return keys;
}

}  // namespace

class ShortcutTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QString program_;

  TqelShortcut Make(const QString& name, const QString& parameters) {
    TqelShortcut shortcut;
    shortcut.FileName = program_;
    shortcut.Parameters = parameters;
    shortcut.StartInDir = dir_->path() + "/";
    shortcut.Description = name;
    shortcut.DestinationDir = dir_->filePath("Desktop");
    shortcut.IconPlaces = {{}, dir_->filePath("user data")};
    return shortcut;
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    program_ = dir_->filePath("bin dir/vornix");
    QVERIFY(QDir().mkpath(dir_->filePath("bin dir")));
    QVERIFY(QDir().mkpath(dir_->filePath("Desktop")));
    QFile exe(program_);
    QVERIFY(exe.open(QIODevice::WriteOnly));
  }

  void writesLauncher() {
    TqelShortcut shortcut = Make("Bank", DesignParameters(false, "/data/Safe.zip"));
    QVERIFY(shortcut.CreateShortcutFile());
    const QString path = dir_->filePath("Desktop/Bank.desktop");
    QCOMPARE(shortcut.ShortcutFileName, path);
    const auto entry = ReadEntry(path);
    QCOMPARE(entry["#first"], QString("[Desktop Entry]"));
    QCOMPARE(entry["Type"], QString("Application"));
    QCOMPARE(entry["Name"], QString("Bank"));
    QCOMPARE(entry["Comment"], QString("Bank"));
    // Not installed: the program's icon written out for the launcher.
    QCOMPARE(entry["Icon"], dir_->filePath("user data/vornix.svg"));
    QCOMPARE(entry["Terminal"], QString("false"));
    QCOMPARE(entry["Path"], dir_->path() + "/");
    QCOMPARE(ParseDesktopExec(entry["Exec"]), QStringList({program_, "/data/Safe.zip"}));
    QVERIFY(QFile::permissions(path) & QFileDevice::ExeOwner);
  }

  // A bare icon name shows only when the desktop's icon theme has it; any
  // other launcher must name an icon file that exists.
  void launcherIconIsFoundByTheDesktop() {
    const QString program = dir_->filePath("prefix/bin/vornix");
    const QString data = QDir(dir_->filePath("prefix/bin")).filePath(VORNIX_DATA_FROM_BIN);
    TLauncherIconPlaces places{{}, dir_->filePath("user data")};
    // Not installed: the bundled icon, written out.
    QFile written(LauncherIcon(program, places));
    QCOMPARE(written.fileName(), dir_->filePath("user data/vornix.svg"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains("<svg"));
    // Installed: the icon file, or its theme name where the desktop looks.
    const QString themed = data + "/icons/hicolor/scalable/apps/vornix.svg";
    QVERIFY(QDir().mkpath(QFileInfo(themed).path()));
    QVERIFY(QFile(themed).open(QIODevice::WriteOnly));
    QCOMPARE(LauncherIcon(program, places), QFileInfo(themed).canonicalFilePath());
    places.dataDirs << data;
    QCOMPARE(LauncherIcon(program, places), QString(kAppIconName));
  }

  void execArguments_data() {
    QTest::addColumn<bool>("useIni");
    QTest::addColumn<QString>("archive");
    QTest::newRow("plain") << false << "/data/Safe.zip";
    QTest::newRow("useini") << true << "/data/Safe.zip";
    QTest::newRow("blanks") << true << "/home/me/My Files/a  b.zip";
    QTest::newRow("double quotes") << false << "/x/say \"hi\".zip";
    QTest::newRow("quote only") << false << "\"";
    QTest::newRow("backslashes") << false << "/x/back\\slash\\\\.zip";
    QTest::newRow("dollar and backtick") << true << "/x/$HOME/`id`.zip";
    QTest::newRow("percent") << false << "/x/100%/%f %%u.zip";
    QTest::newRow("shell characters") << false << "/x/a;b&c|d<e>f(g)h*i?j#k~l'm.zip";
    QTest::newRow("no archive") << false << "";
    QTest::newRow("leading blank") << false << " /lead.zip";
    QTest::newRow("newline and tab") << false << "/x/a\nb\tc.zip";
  }
  void execArguments() {
    QFETCH(bool, useIni);
    QFETCH(QString, archive);
    TqelShortcut shortcut = Make("Bank", DesignParameters(useIni, archive));
    QVERIFY(shortcut.CreateShortcutFile());
    const auto entry = ReadEntry(shortcut.ShortcutFileName);
    QStringList expected{program_};
    if (useIni) expected << "-useini";
    expected << archive;
    QCOMPARE(ParseDesktopExec(entry["Exec"]), expected);
    QVERIFY(!entry["Exec"].contains('\n'));
  }

  void quotingSingleArgs_data() {
    QTest::addColumn<QString>("arg");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "/usr/bin/vornix"
                           << "/usr/bin/vornix";
    QTest::newRow("blank") << "/a b"
                           << "\"/a b\"";
    QTest::newRow("quote") << "a\"b"
                           << "\"a\\\\\"b\"";
    QTest::newRow("backslash") << "a\\b"
                               << "\"a\\\\\\\\b\"";
    QTest::newRow("dollar") << "$x"
                            << "\"\\\\$x\"";
    QTest::newRow("percent unquoted") << "100%"
                                      << "100%%";
    QTest::newRow("empty") << ""
                           << "\"\"";
  }
  void quotingSingleArgs() {
    QFETCH(QString, arg);
    QFETCH(QString, quoted);
    QCOMPARE(QuoteDesktopExecArg(arg), quoted);
    QCOMPARE(ParseDesktopExec(quoted), QStringList{arg});
  }

  void designParametersSplit_data() {
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("switch and path")
        << "-useini \"/a b.zip\"" << QStringList{"-useini", "/a b.zip"};
    QTest::newRow("doubled quote") << "\"a\"\"b\"" << QStringList{"a\"b"};
    QTest::newRow("empty path") << "\"\"" << QStringList{""};
    QTest::newRow("path of two quotes") << "\"\"\"\"\"\"" << QStringList{"\"\""};
    QTest::newRow("nothing") << "" << QStringList{};
  }
  void designParametersSplit() {
    QFETCH(QString, parameters);
    QFETCH(QStringList, args);
    QCOMPARE(SplitQuotedParameters(parameters), args);
  }

  void nameAndPathEscaped() {
    TqelShortcut shortcut = Make(" My\\Bank", "\"/a.zip\"");
    shortcut.StartInDir = "/opt/v\\x/";
    QVERIFY(shortcut.CreateShortcutFile());
    const auto entry = ReadEntry(shortcut.ShortcutFileName);
    QCOMPARE(UnescapeDesktopString(entry["Name"]), QString(" My\\Bank"));
    QCOMPARE(UnescapeDesktopString(entry["Path"]), QString("/opt/v\\x/"));
  }

  void replacesExistingLauncher() {
    const QString path = dir_->filePath("Desktop/Bank.desktop");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old content that is longer than the new launcher will ever be ........\n");
    old.close();
    TqelShortcut shortcut = Make("Bank", "\"/new.zip\"");
    QVERIFY(shortcut.CreateShortcutFile());
    const auto entry = ReadEntry(path);
    QCOMPARE(ParseDesktopExec(entry["Exec"]).value(1), QString("/new.zip"));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(!written.readAll().contains("old content"));
    QCOMPARE(entry["#first"], QString("[Desktop Entry]"));
  }

  void impossibleNamesCreateNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("slash") << "a/b";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("nul") << QString("a") + QChar(0) + "b";
  }
  void impossibleNamesCreateNothing() {
    QFETCH(QString, name);
    TqelShortcut shortcut = Make(name, "\"\"");
    QVERIFY(!shortcut.CreateShortcutFile());
    QVERIFY(shortcut.ShortcutFileName.isEmpty());
    QCOMPARE(QDir(dir_->filePath("Desktop"))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
    QVERIFY(!QFile::exists(dir_->filePath("b.desktop")));
  }

  void emptyNameCreatesHiddenLauncher() {
    TqelShortcut shortcut = Make("", "\"\"");
    QVERIFY(shortcut.CreateShortcutFile());
    QVERIFY(QFile::exists(dir_->filePath("Desktop/.desktop")));
  }

  void missingDestinationFails() {
    TqelShortcut shortcut = Make("Bank", "\"\"");
    shortcut.DestinationDir = dir_->filePath("no such folder");
    QVERIFY(!shortcut.CreateShortcutFile());
  }

  void missingTargetThrows() {
    TqelShortcut shortcut = Make("Bank", "\"\"");
    shortcut.FileName = dir_->filePath("gone");
    try {
      shortcut.CreateShortcutFile();
      QFAIL("no error");
    } catch (const std::runtime_error& error) {
      QCOMPARE(QString(error.what()),
               QString("Cannot create shortcut. Target file does not exist"));
    }
  }

  void folderHasTrailingSlash() {
    TqelShortcut shortcut;
    shortcut.DestinationDir = "/some/where";
    QCOMPARE(shortcut.ShortcutFolder(), QString("/some/where/"));
    shortcut.DestinationDir.clear();
    QVERIFY(shortcut.ShortcutFolder().endsWith('/'));
  }
};

QTEST_MAIN(ShortcutTest)
#include "shortcut_test.moc"
