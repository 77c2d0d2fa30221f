// The settings store: table rules, both storages, the Reopen menu and the
// accessor guard. Every test works on temporary files.

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

#include "support/state.h"

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

  void accessorGuard() {
    QCOMPARE(&State(), &State());
    try {
      TqelState direct;
      QFAIL("direct construction succeeded");
    } catch (const std::runtime_error& error) {
      QCOMPARE(QString(error.what()), QString("use State accessor function"));
    }
  }

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

  void valueWithEqualsRoundTrips_data() {
    QTest::addColumn<bool>("useIni");
    QTest::newRow("user store") << false;
    QTest::newRow("ini") << true;
  }
  void valueWithEqualsRoundTrips() {
    QFETCH(bool, useIni);
    TqelState& s = State();
    s.UseIni = useIni;
    const QStringList values{"a=b==c",  "x, y",       "@at",      "C:\\Data\\Safe.zip",
                             " lead",   "semi;colon", "quote\"d", "tab\there",
                             "Grüße ✓", "#hash"};
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

  void nonStringValueStopsLoading() {
    // An unquoted list is not plain text; names sort, so A loads first.
    WriteFile(userPath_, "[General]\nA=1\nBad=x, y\nC=3\n");
    try {
      State().Load();
      QFAIL("no error");
    } catch (const std::runtime_error& error) {
      QCOMPARE(QString(error.what()), QString("Invalid data type for 'Bad'"));
    }
    QCOMPARE(State().Entries(), QStringList({"A=1"}));
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
    State().Save();  // as with a registry key that cannot be created
  }

  void nameWithSlashIsReportedNotGrouped() {
    State().SetValue("A", "1");
    State().SetValue("x/y", "2");
    State().SetValue("Z", "3");
    try {
      State().Save();
      QFAIL("no error");
    } catch (const std::runtime_error& error) {
      QCOMPARE(QString(error.what()), QString("Failed to set data for 'x/y'"));
    }
    State().Clear();
    State().Load();
    QCOMPARE(State().Entries(), QStringList({"A=1", "Z=3"}));
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
