// Which command-line argument names the archive to open.

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_line.h"

class CommandLineTest : public QObject {
  Q_OBJECT
 private:
  QTemporaryDir dir_;

 private slots:
  void initTestCase() {
    for (const char* name : {"a.zip", "b c.zip", "-useini", "\"q\".zip"}) {
      QFile file(dir_.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir_.path()).mkdir("folder.zip"));
  }

  void archiveArgument_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");  // relative to the folder; empty: none
    QTest::newRow("relative") << QStringList{"a.zip"} << "a.zip";
    QTest::newRow("absolute") << QStringList{"<dir>/b c.zip"} << "b c.zip";
    QTest::newRow("quoted") << QStringList{"\"b c.zip\""} << "b c.zip";
    QTest::newRow("quoted absolute") << QStringList{"\"<dir>/a.zip\""} << "a.zip";
    QTest::newRow("only one pair of quotes removed") << QStringList{"\"\"q\".zip\""} << "\"q\".zip";
    QTest::newRow("first existing wins")
        << QStringList{"missing.zip", "b c.zip", "a.zip"} << "b c.zip";
    QTest::newRow("switch skipped even as a file name")
        << QStringList{"-useini", "a.zip"} << "a.zip";
    QTest::newRow("folder is no archive") << QStringList{"folder.zip"} << "";
    QTest::newRow("empty quotes") << QStringList{"\"\""} << "";
    QTest::newRow("lone quote") << QStringList{"\""} << "";
    QTest::newRow("dot dot cleaned") << QStringList{"folder.zip/../a.zip"} << "a.zip";
    QTest::newRow("nothing") << QStringList{} << "";
  }
  void archiveArgument() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    arguments.replaceInStrings("<dir>", dir_.path());
    const QString found = CommandLineArchive(arguments, QDir(dir_.path()));
    QCOMPARE(found, expected.isEmpty() ? QString() : dir_.filePath(expected));
  }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
