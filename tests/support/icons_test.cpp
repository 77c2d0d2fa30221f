// Every icon role shows a picture, also without a desktop icon theme.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include "support/icons.h"

class IconsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // No theme: every icon must come from the bundled drawings.
    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName("vornix-test-no-such-theme");
  }

  void bundledIconsRender_data() {
    QTest::addColumn<int>("role");
    for (int role = int(IconRole::Add); role <= int(IconRole::App); ++role) {
      QTest::newRow(QByteArray::number(role).constData()) << role;
    }
  }
  void bundledIconsRender() {
    QFETCH(int, role);
    const QIcon icon = VornixIcon(IconRole(role));
    QVERIFY(!icon.isNull());
    const QImage image = icon.pixmap(16, 16).toImage();
    QVERIFY(!image.isNull());
    bool painted = false;  // a missing picture renders fully transparent
    for (int y = 0; y < image.height() && !painted; ++y) {
      for (int x = 0; x < image.width() && !painted; ++x) painted = qAlpha(image.pixel(x, y)) > 0;
    }
    QVERIFY(painted);
  }

  void appIconHasLogoSize() {
    const QPixmap logo = VornixIcon(IconRole::App).pixmap(32, 32);
    QCOMPARE(logo.size(), QSize(32, 32));
  }
};

QTEST_MAIN(IconsTest)
#include "icons_test.moc"
