// The Help commands (addresses handed to the desktop) and the desktop
// launcher command.

#include <QAction>
#include <QCoreApplication>
#include <QTest>

#include "app/shortcut_command.h"
#include "support/shell_open.h"
#include "support/shortcut.h"
#include "support/version_info.h"
#include "tests/app/window_fixture.h"

class HelpShortcutTest : public TWindowFixture {
  Q_OBJECT
 private:
  QStringList opened_;
  QByteArray savedHome_;

  QString Desktop() const { return env_->Path("home/Desktop"); }
  // The arguments the launcher named name starts the program with.
  // The value of a key of the launcher named name (read by hand: QSettings
  // would take the desktop entry's quotes for its own).
  QString LauncherValue(const QString& name, const QString& key) {
    const QString text = QString::fromUtf8(FileBytes(Desktop() + "/" + name + ".desktop"));
    for (const QString& line : text.split('\n')) {
      if (line.startsWith(key + "=")) return line.mid(key.size() + 1);
    }
    return {};
  }
  QStringList LauncherArguments(const QString& name) {
    QStringList exec = ParseDesktopExec(LauncherValue(name, "Exec"));
    if (!exec.isEmpty()) exec.removeFirst();
    return exec;
  }

 private slots:
  void init() {
    env_ = std::make_unique<AppTestEnv>();
    QDir().mkpath(Desktop());
    savedHome_ = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(env_->Path("home")));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    opened_.clear();
    SetShellOpener([this](const QString& address) { opened_ << address; });
    window_ = env_->MakeWindow();
  }
  void cleanup() {
    window_.reset();
    SetShellOpener(nullptr);
    qputenv("HOME", savedHome_);
    State().UseIni = false;
    QVERIFY2(env_->unexpected.isEmpty(), "a dialog was shown that the test did not expect");
    QVERIFY2(env_->errors.isEmpty(), qPrintable(env_->errors.join('\n')));
    env_.reset();
  }

  void helpAddresses() {
    Trigger("mmiVerChk");
    Trigger("mmiWeb");
    Trigger("mmiEmail");
    const QString host = MakerWebHost();
    QCOMPARE(opened_, (QStringList{"http://" + host + "/vnxVerChk.php?mj=1&mn=6&rl=3&bd=0",
                                   "http://" + host + "/", "mailto:" + MakerEmail()}));
  }

  void emptyAddressOpensNothing() {
    window_->ShellOpen(QString());
    QVERIFY(opened_.isEmpty());
  }

  void shortcutParameters_data() {
    QTest::addColumn<bool>("useIni");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("parameters");
    QTest::newRow("plain") << false << "/data/Safe.zip"
                           << "\"/data/Safe.zip\"";
    QTest::newRow("settings in the INI file") << true << "/data/Safe.zip"
                                              << "-useini \"/data/Safe.zip\"";
    QTest::newRow("no archive") << false << ""
                                << "\"\"";
    QTest::newRow("quote inside") << false << "/a\"b.zip"
                                  << "\"/a\"\"b.zip\"";
  }
  void shortcutParameters() {
    QFETCH(bool, useIni);
    QFETCH(QString, path);
    QFETCH(QString, parameters);
    QCOMPARE(ShortcutParameters(useIni, path), parameters);
  }

  void shortcutStartsTheProgramWithTheArchive_data() {
    QTest::addColumn<bool>("useIni");
    QTest::addColumn<QString>("path");
    QTest::newRow("per-user settings") << false << "/data/My Safe.zip";
    QTest::newRow("INI mode") << true << "/data/Safe.zip";
    QTest::newRow("odd characters") << false << "/data/a \"q\" $x `y` 100%.zip";
  }
  void shortcutStartsTheProgramWithTheArchive() {
    QFETCH(bool, useIni);
    QFETCH(QString, path);
    State().UseIni = useIni;
    window_->SetArchivePath(path);
    env_->answers.push_back(QStringLiteral("Bank"));
    Trigger("mmiShortcut");
    QCOMPARE(env_->requests.last().kind, TMsgRequest::InputText);
    QCOMPARE(env_->requests.last().text, QStringLiteral("Enter a name for the shortcut"));
    QCOMPARE(env_->requests.last().prompt, QStringLiteral("Shortcut name"));
    const QStringList expected = useIni ? QStringList{"-useini", path} : QStringList{path};
    QCOMPARE(LauncherArguments("Bank"), expected);
    QCOMPARE(LauncherValue("Bank", "Path"), QCoreApplication::applicationDirPath() + "/");
    // The test program is not installed: the launcher names an icon file.
    QVERIFY(QFileInfo(LauncherValue("Bank", "Icon")).isFile());
  }

  void cancelledNameCreatesNothing() {
    env_->answers.push_back(QVariant());
    Trigger("mmiShortcut");
    QVERIFY(QDir(Desktop()).isEmpty());
  }

  void impossibleNameFailsSilently() {
    env_->answers.push_back(QStringLiteral("a/b"));
    Trigger("mmiShortcut");
    QVERIFY(QDir(Desktop()).isEmpty());
    QVERIFY(env_->errors.isEmpty());
  }
};

QTEST_MAIN(HelpShortcutTest)
#include "help_shortcut_test.moc"
