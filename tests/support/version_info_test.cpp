// The version record and the web addresses built from it, and ShellOpen.

#include <QTest>

#include "support/shell_open.h"
#include "support/version_info.h"

class VersionInfoTest : public QObject {
  Q_OBJECT

 private slots:
  void record() {
    const TqelVersionInfo info;
    QCOMPARE(info.ProductName(), QStringLiteral(VORNIX_TEST_PRODUCT_NAME));
    QCOMPARE(info.FileVersion(), QStringLiteral(VORNIX_TEST_PROJECT_VERSION));
    QVERIFY(!info.LegalCopyright().isEmpty());
    QVERIFY(!MakerWebHost().isEmpty());
    QVERIFY(MakerEmail().contains('@'));
  }

  void versionCheckAddress_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("query");
    QTest::newRow("four words") << "1.6.3.0"
                                << "mj=1&mn=6&rl=3&bd=0";
    QTest::newRow("two words") << "2.1"
                               << "mj=2&mn=1&rl=&bd=";
    QTest::newRow("dots in a row") << "1..3.0"
                                   << "mj=1&mn=3&rl=0&bd=";
    QTest::newRow("leading and trailing dots") << ".4.5."
                                               << "mj=4&mn=5&rl=&bd=";
    QTest::newRow("empty") << ""
                           << "mj=&mn=&rl=&bd=";
    QTest::newRow("five words") << "1.2.3.4.5"
                                << "mj=1&mn=2&rl=3&bd=4";
    QTest::newRow("not escaped") << "1 a.%2"
                                 << "mj=1 a&mn=%2&rl=&bd=";
  }
  void versionCheckAddress() {
    QFETCH(QString, version);
    QFETCH(QString, query);
    QCOMPARE(VersionCheckAddress("host.example", version),
             "http://host.example/vnxVerChk.php?" + query);
  }

  void shellOpenSeam() {
    QStringList opened;
    SetShellOpener([&](const QString& address) { opened << address; });
    ShellOpen("");
    ShellOpen("mailto:" + MakerEmail());
    SetShellOpener(nullptr);
    QCOMPARE(opened, QStringList{"mailto:" + MakerEmail()});
  }
};

QTEST_MAIN(VersionInfoTest)
#include "version_info_test.moc"
