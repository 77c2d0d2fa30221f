// The About box: its texts, the file date and size formats, and closing.

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "forms/about_dialog.h"
#include "forms/about_form.h"
#include "forms/about_texts.h"
#include "support/modal_result.h"
#include "support/version_info.h"
#include "tests/common/modal_helpers.h"

namespace {

const QString kForm = QStringLiteral("TfrmAbout");

QString LabelText(QWidget* form, const char* name) {
  return modal::Child<QLabel>(form, QLatin1String(name))->text();
}

}  // namespace

class AboutDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { modal::FlushDeferredDeletes(); }

  void dateRoundsSecondsDownToEven_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");
    QTest::newRow("odd") << QTime(7, 8, 9) << "Date: 2024-03-05 07:08:08";
    QTest::newRow("even") << QTime(7, 8, 10) << "Date: 2024-03-05 07:08:10";
    QTest::newRow("59") << QTime(23, 59, 59, 999) << "Date: 2024-03-05 23:59:58";
    QTest::newRow("zero") << QTime(0, 0, 0) << "Date: 2024-03-05 00:00:00";
    QTest::newRow("one") << QTime(13, 0, 1) << "Date: 2024-03-05 13:00:00";
  }
  void dateRoundsSecondsDownToEven() {
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    QCOMPARE(AboutDateText(QDateTime(QDate(2024, 3, 5), time)), expected);
  }

  void dateShownInLocalTime() {
    const QDateTime local(QDate(2023, 12, 31), QTime(22, 30, 4));
    QCOMPARE(AboutDateText(local.toUTC()), QStringLiteral("Date: 2023-12-31 22:30:04"));
  }

  void sizeGroupedForLocale_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("millions, English") << qint64(1234567) << english << "Size: 1,234,567";
    QTest::newRow("millions, German") << qint64(1234567) << german << "Size: 1.234.567";
    QTest::newRow("below a thousand") << qint64(999) << english << "Size: 999";
    QTest::newRow("zero") << qint64(0) << english << "Size: 0";
    QTest::newRow("past 4 GiB") << qint64(5000000000) << english << "Size: 5,000,000,000";
  }
  void sizeGroupedForLocale() {
    QFETCH(qint64, bytes);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(AboutSizeText(bytes, locale), expected);
  }

  void fileTextsOfAFile() {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("program")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1500, 'x'));
    QVERIFY(file.flush());  // written before the time is set, not after
    const QDateTime stamp(QDate(2022, 6, 7), QTime(8, 9, 11));
    QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();
    const auto texts = AboutFileTexts(file.fileName());
    QVERIFY(texts);
    QCOMPARE(texts->date, QStringLiteral("Date: 2022-06-07 08:09:10"));
    QCOMPARE(texts->size, QStringLiteral("Size: ") + QLocale().toString(1500));
    QVERIFY(!AboutFileTexts(dir.filePath(QStringLiteral("missing"))));
  }

  void labelsFilledFromVersionRecord() {
    TfrmAbout form;
    form.show();
    const TqelVersionInfo version;
    QCOMPARE(LabelText(&form, "lblAppName"), version.ProductName());
    QCOMPARE(LabelText(&form, "lblCopyright"), version.LegalCopyright());
    QCOMPARE(LabelText(&form, "lblBuild"), QStringLiteral("Build: ") + version.FileVersion());
    QVERIFY(LabelText(&form, "lblDate").startsWith(QStringLiteral("Date: ")));
    QVERIFY(LabelText(&form, "lblSize").startsWith(QStringLiteral("Size: ")));
    QCOMPARE(form.windowTitle(), QStringLiteral("About..."));
    QCOMPARE(form.size(), QSize(304, 217));
    QVERIFY(!modal::Child<QLabel>(&form, "imgLogo")->pixmap().isNull());
  }

  void missingProgramFileKeepsTheBuiltInTexts() {
    TfrmAbout form;
    form.SetProgramFile(QStringLiteral("/nonexistent/vornix"));
    form.show();
    QCOMPARE(LabelText(&form, "lblDate"), QStringLiteral("lblDate"));
    QCOMPARE(LabelText(&form, "lblSize"), QStringLiteral("lblSize"));
    QVERIFY(LabelText(&form, "lblBuild").startsWith(QStringLiteral("Build: ")));
  }

  void labelsShowWholeText() {
    TfrmAbout form;
    form.show();
    for (const char* name :
         {"lblAppName", "lblBuild", "lblCopyright", "lblDate", "lblSize", "lblCredits"}) {
      auto* label = modal::Child<QLabel>(&form, QLatin1String(name));
      QVERIFY2(label->width() >= label->sizeHint().width(), name);
      QVERIFY2(form.rect().contains(label->geometry()), name);
    }
  }

  void closeWays_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("Close button") << 0;
    QTest::newRow("Enter") << 1;
    QTest::newRow("Escape") << 2;
    QTest::newRow("close box") << 3;
  }
  void closeWays() {
    QFETCH(int, way);
    bool closed = false;
    QPoint centre;
    modal::WhenModal(kForm, [&](QWidget* dlg) {
      centre = dlg->geometry().center();
      dlg->move(0, 0);  // moved away: the next opening centres it again
      if (way == 0) modal::Click(dlg, "btnClose");
      if (way == 1) modal::Key(dlg, Qt::Key_Return);
      if (way == 2) modal::Key(dlg, Qt::Key_Escape);
      if (way == 3) dlg->close();
      closed = !dlg->isVisible();
    });
    ExecuteAbout();
    QVERIFY(closed);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(centre.x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(centre.y() - screen.center().y()) <= 1);
  }
};

QTEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
