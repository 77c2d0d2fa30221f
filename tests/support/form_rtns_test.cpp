// Window placement: the text form, the work-area arithmetic and applying a
// placement to real windows.

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <stdexcept>

#include "support/form_rtns.h"
#include "support/outer_size_fixer.h"
#include "tests/common/accessor_guard.h"

namespace {

const QRect kWorkArea(0, 0, 1024, 738);

}  // namespace

class FormRtnsTest : public QObject {
  Q_OBJECT

 private slots:
  void accessorGuard() { CheckAccessorGuard(&FormRtn, "use FormRtn accessor function"); }

  void fitRect_data() {
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("above and left") << QRect(-500, -500, 500, 400) << QRect(0, 0, 500, 400);
    QTest::newRow("beyond bottom right") << QRect(900, 600, 500, 400) << QRect(524, 338, 500, 400);
    QTest::newRow("exactly the work area") << kWorkArea << kWorkArea;
    QTest::newRow("inside untouched") << QRect(379, 295, 440, 398) << QRect(379, 295, 440, 398);
    QTest::newRow("left of -999") << QRect(-999, 100, 350, 350) << QRect(0, 100, 350, 350);
    QTest::newRow("larger than area")
        << QRect(10, 10, 1200, 900) << QRect(1024 - 1200, 738 - 900, 1200, 900);
    QTest::newRow("corner beyond right only moves back")
        << QRect(1100, 10, 100, 100) << QRect(924, 10, 100, 100);
    QTest::newRow("one pixel over bottom") << QRect(0, 339, 100, 400) << QRect(0, 338, 100, 400);
  }
  void fitRect() {
    QFETCH(QRect, bounds);
    QFETCH(QRect, expected);
    QCOMPARE(FitRectToWorkArea(bounds, kWorkArea), expected);
  }

  void fitRectOffsetWorkArea() {
    // A work area that does not start at the origin (a panel on the left).
    const QRect area(48, 24, 976, 714);
    QCOMPARE(FitRectToWorkArea(QRect(0, 0, 200, 100), area), QRect(48, 24, 200, 100));
  }

  // A centred dialog is centred with its frame (here the frame a window
  // manager would draw), not only its inside.
  void centredWithTheFrame_data() {
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("title bar") << QMargins(1, 24, 1, 1) << kWorkArea << QPoint(390, 298);
    QTest::newRow("no frame") << QMargins() << kWorkArea << QPoint(391, 310);
    QTest::newRow("beside a panel")
        << QMargins(4, 28, 4, 4) << QRect(48, 24, 976, 714) << QPoint(411, 306);
  }
  void centredWithTheFrame() {
    QFETCH(QMargins, frame);
    QFETCH(QRect, area);
    QFETCH(QPoint, topLeft);
    const QSize inner(241, 117);
    QCOMPARE(CentredOuterTopLeft(inner, frame, area), topLeft);
    const QRect outer(topLeft, inner.grownBy(frame));
    QVERIFY(qAbs(outer.center().x() - area.center().x()) <= 1);
    QVERIFY(qAbs(outer.center().y() - area.center().y()) <= 1);
  }

  void placementTextRoundTrip() {
    QWidget form;
    form.setMinimumSize(350, 350);
    FormRtn().SetPlacement(&form, "0 100 120 400 500");
    if (!PlatformPlacesWindows()) QSKIP("the platform cannot place windows");
    QCOMPARE(FormRtn().GetPlacement(&form), QString("0 100 120 400 500"));
  }

  void placedOntoTheWorkArea() {
    QWidget form;
    form.setMinimumSize(100, 100);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    FormRtn().SetPlacement(&form, "0 -500 -500 400 500");
    if (!PlatformPlacesWindows()) QSKIP("the platform cannot place windows");
    QCOMPARE(form.frameGeometry(), QRect(area.topLeft(), QSize(500, 400)));
    const QPoint beyond = area.bottomRight() - QPoint(50, 50);
    FormRtn().SetPlacement(&form, QString("0 %1 %2 400 500").arg(beyond.y()).arg(beyond.x()));
    QCOMPARE(form.frameGeometry().bottomRight(), area.bottomRight());
  }

  void sizeRaisedToMinimum() {
    QWidget form;
    form.setMinimumSize(350, 350);
    form.resize(600, 600);
    FormRtn().SetPlacement(&form, "0 100");
    QCOMPARE(form.size(), QSize(350, 350));
  }

  void fixedSizeDialogKeepsItsSize() {
    QDialog dialog;
    dialog.setFixedSize(300, 200);
    FormRtn().SetPlacement(&dialog, "0 10 20 500 600");
    QCOMPARE(dialog.size(), QSize(300, 200));
    if (!PlatformPlacesWindows()) QSKIP("the platform cannot place windows");
    QCOMPARE(dialog.pos(), QPoint(20, 10));
  }

  void emptyOrGarbledTextKeepsBounds_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QString("   ");
    QTest::newRow("words") << QString("max x y");
  }
  void emptyOrGarbledTextKeepsBounds() {
    QFETCH(QString, text);
    QWidget form;
    form.resize(420, 330);
    FormRtn().SetPlacement(&form, text);
    QCOMPARE(form.size(), QSize(420, 330));
    QCOMPARE(form.windowState(), Qt::WindowNoState);
  }

  void stateField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::WindowState>("state");
    QTest::newRow("maximized") << QString("2") << Qt::WindowMaximized;
    QTest::newRow("minimized") << QString("1 10 10 200 200") << Qt::WindowMinimized;
    QTest::newRow("normal") << QString("0 10 10 200 200") << Qt::WindowNoState;
    QTest::newRow("low 8 bits") << QString("258 10 10 200 200") << Qt::WindowMaximized;
    QTest::newRow("unknown state") << QString("3 10 10 200 200") << Qt::WindowNoState;
    QTest::newRow("negative state") << QString("-1 10 10 200 200") << Qt::WindowNoState;
  }
  void stateField() {
    QFETCH(QString, text);
    QFETCH(Qt::WindowState, state);
    QWidget form;
    form.setWindowState(Qt::WindowMaximized);  // a stored state replaces the current one
    FormRtn().SetPlacement(&form, text);
    QCOMPARE(form.windowState(), Qt::WindowStates(state));
  }

  void maximizedGivesTwo() {
    QWidget form;
    form.showMaximized();
    QCOMPARE(FormRtn().GetPlacement(&form), QString("2"));
  }

  void restoredBoundsKeptUnderMaximize() {
    QWidget form;
    form.setMinimumSize(100, 100);
    FormRtn().SetPlacement(&form, "0 50 60 300 400");
    FormRtn().SetPlacement(&form, "2 ");
    QCOMPARE(form.windowState(), Qt::WindowMaximized);
    form.show();
    form.showNormal();
    QCOMPARE(form.size(), QSize(400, 300));
  }

 private:
  // The offscreen platform and bare X servers accept positions as given;
  // a window manager may not.
  static bool PlatformPlacesWindows() {
    QWidget probe;
    probe.move(123, 45);
    return probe.pos() == QPoint(123, 45) &&
           QGuiApplication::primaryScreen()->availableGeometry().contains(QRect(0, 0, 700, 700));
  }
};

QTEST_MAIN(FormRtnsTest)
#include "form_rtns_test.moc"
