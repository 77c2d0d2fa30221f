// Byte strings to Qt text and back.

#include <QTest>
#include <string>

#include "support/text_convert.h"

class TextConvertTest : public QObject {
  Q_OBJECT

 private slots:
  void toQString_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("abc=1\t2") << QString("abc=1\t2");
    QTest::newRow("utf-8") << QByteArray(
                                  "Gr\xc3\xbc\xc3\x9f"
                                  "e \xe2\x82\xac")
                           << QString::fromUtf8("Grüße €");
    QTest::newRow("windows-1252") << QByteArray(
                                         "Gr\xfc\xdf"
                                         "e \x80")
                                  << QString::fromUtf8("Grüße €");
    QTest::newRow("truncated utf-8 is 1252") << QByteArray("a\xc3") << QString::fromUtf8("aÃ");
    QTest::newRow("embedded nul") << QByteArray("a\0b", 3) << QStringView(u"a\0b", 3).toString();
    QTest::newRow("empty") << QByteArray() << QString();
  }
  void toQString() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(ToQString(bytes.toStdString()), text);
  }

  void toBytesIsUtf8() {
    QCOMPARE(ToBytes(QString::fromUtf8("Grüße €")), std::string("Gr\xc3\xbc\xc3\x9f"
                                                                "e \xe2\x82\xac"));
    const std::string nul("a\0b", 3);
    QCOMPARE(ToBytes(ToQString(nul)), nul);
  }
};

QTEST_MAIN(TextConvertTest)
#include "text_convert_test.moc"
