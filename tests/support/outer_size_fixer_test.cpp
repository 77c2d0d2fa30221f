// Outer bounds: a window's frame counts in its designed size and when it is
// centred. (The frame itself exists only under a window manager; here the
// arithmetic is checked with the frames such a manager draws.)

#include <QTest>

#include "support/outer_size_fixer.h"

namespace {

const QMargins kTitleAndBorder(1, 24, 1, 1);

}  // namespace

class OuterSizeFixerTest : public QObject {
  Q_OBJECT

 private slots:
  void innerSizeLeavesRoomForTheFrame() {
    QCOMPARE(InnerSizeFor(QSize(440, 398), kTitleAndBorder), QSize(438, 373));
    QCOMPARE(InnerSizeFor(QSize(440, 398), QMargins()), QSize(440, 398));
  }

  void centringCountsTheFrame_data() {
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("title bar and border")
        << QSize(241, 117) << kTitleAndBorder << QRect(0, 0, 1024, 738) << QPoint(390, 298);
    QTest::newRow("no frame") << QSize(241, 117) << QMargins() << QRect(0, 0, 1024, 738)
                              << QPoint(391, 310);
    QTest::newRow("work area beside a panel")
        << QSize(241, 170) << QMargins(4, 28, 4, 4) << QRect(48, 24, 976, 714) << QPoint(411, 280);
  }
  void centringCountsTheFrame() {
    QFETCH(QSize, inner);
    QFETCH(QMargins, frame);
    QFETCH(QRect, area);
    QFETCH(QPoint, topLeft);
    QCOMPARE(CentredOuterTopLeft(inner, frame, area), topLeft);
    // The whole window, not its inside, sits in the middle.
    const QRect outer(topLeft, inner.grownBy(frame));
    QVERIFY(qAbs(outer.center().x() - area.center().x()) <= 1);
    QVERIFY(qAbs(outer.center().y() - area.center().y()) <= 1);
  }
};

QTEST_MAIN(OuterSizeFixerTest)
#include "outer_size_fixer_test.moc"
