// The import window: filling, moving sites between the lists by buttons
// and by dragging, what OK and Cancel do to the caller's list, the resize
// rule and the remembered placement.

#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>
#include <optional>

#include "core/pw_list.h"
#include "forms/import_dialog.h"
#include "forms/import_form.h"
#include "forms/import_layout.h"
#include "forms/import_list_box.h"
#include "support/modal_result.h"
#include "tests/forms/dialog_test.h"

namespace {

const QString kForm = QStringLiteral("TfrmImport");

TqelPwList SampleList() {
  TqelPwList list;
  for (const char* line :
       {"beta=b1\tpb\t\t", "Alpha=a1\tpa\t\t", "gamma=g1\tpg\t\tnote\\nx", "Delta=d1\tpd\t\t"})
    list.Add(line);
  return list;
}

TImportListBox* Box(QWidget* form, const char* name) {
  return modal::Child<TImportListBox>(form, QLatin1String(name));
}

QStringList Texts(const QListWidget* box) {
  QStringList texts;
  for (int row = 0; row < box->count(); ++row) texts << box->item(row)->text();
  return texts;
}

void Select(QListWidget* box, const QStringList& texts) {
  box->clearSelection();
  for (int row = 0; row < box->count(); ++row)
    box->item(row)->setSelected(texts.contains(box->item(row)->text()));
}

QStringList Lines(const TqelPwList& list) {
  QStringList lines;
  for (int i = 0; i < list.Count(); ++i) lines << QString::fromStdString(list[i]);
  return lines;
}

// A form filled from list and shown, as ExecuteImport shows it.
struct ShownForm {
  explicit ShownForm(TqelPwList& list) {
    form.SetList(list);
    form.show();
  }
  TfrmImport form;
};

// Counts the drags the form starts instead of running them; each ends with
// the given outcome.
void CountDrags(int& drags, bool outcome) {
  TfrmImport::SetDragRunner([&drags, outcome](TfrmImport&, QListWidget*) {
    ++drags;
    return outcome;
  });
}

}  // namespace

class ImportDialogTest : public TDialogTest {
  Q_OBJECT

 public:
  ImportDialogTest() : TDialogTest(kSettings) {}

 protected:
  void AfterTest() override { TfrmImport::SetDragRunner(nullptr); }

 private slots:
  void layoutRule_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("listWidth");
    QTest::addColumn<int>("panelLeft");
    QTest::addColumn<int>("rightLeft");
    QTest::addColumn<int>("panelTop");
    QTest::addColumn<int>("listHeight");
    QTest::newRow("first size 625x354") << QSize(625, 354) << 236 << 252 << 372 << 104 << 265;
    QTest::newRow("odd sizes truncate") << QSize(626, 356) << 237 << 253 << 373 << 105 << 267;
    QTest::newRow("larger 800x500") << QSize(800, 500) << 324 << 340 << 460 << 177 << 411;
  }
  void layoutRule() {
    QFETCH(QSize, client);
    QFETCH(int, listWidth);
    QFETCH(int, panelLeft);
    QFETCH(int, rightLeft);
    QFETCH(int, panelTop);
    QFETCH(int, listHeight);
    const TImportLayout layout = ImportLayout(client);
    QCOMPARE(layout.fromList, QRect(16, 32, listWidth, listHeight));
    QCOMPARE(layout.copyList, QRect(rightLeft, 32, listWidth, listHeight));
    QCOMPARE(layout.copyLabel.topLeft(), QPoint(rightLeft, 16));
    QCOMPARE(layout.panel, QRect(panelLeft, panelTop, 120, 121));
    QCOMPARE(layout.ok, QRect(client.width() - 177, client.height() - 42, 75, 25));
    QCOMPARE(layout.cancel.topLeft(), QPoint(client.width() - 89, client.height() - 42));
  }

  void formAppliesRuleAtItsFirstSize() {
    TfrmImport form;
    QCOMPARE(form.size(), QSize(625, 354));
    QCOMPARE(form.minimumSize(), QSize(625, 354));
    QCOMPARE(Box(&form, "lbxFromArchive")->geometry(), QRect(16, 32, 236, 265));
    QCOMPARE(Box(&form, "lbxCopyItems")->geometry(), QRect(372, 32, 236, 265));
    QCOMPARE(form.findChild<QWidget*>("pnlButtons")->pos(), QPoint(252, 104));
    QCOMPARE(form.findChild<QWidget*>("lblCopyItems")->pos(), QPoint(372, 16));
    QCOMPARE(form.findChild<QWidget*>("btnOK")->pos(), QPoint(448, 312));
    QCOMPARE(form.windowTitle(), QStringLiteral("Import items from another Vornix file"));
  }

  void fillShowsSortedSitesWithoutSelection() {
    TqelPwList list = SampleList();
    ShownForm shown(list);
    auto* left = Box(&shown.form, "lbxFromArchive");
    QCOMPARE(Texts(left), QStringList({"Alpha", "beta", "Delta", "gamma"}));
    QCOMPARE(left->currentRow(), 0);
    QVERIFY(left->selectedItems().isEmpty());
    QCOMPARE(Box(&shown.form, "lbxCopyItems")->count(), 0);
  }

  void equalSiteNamesKeepInsertionOrder() {
    TqelPwList list;
    list.Add("Same=first\t\t\t");
    list.Add("same=second\t\t\t");
    ShownForm shown(list);
    auto* left = Box(&shown.form, "lbxFromArchive");
    QCOMPARE(left->count(), 2);
    QCOMPARE(left->RecordAt(0)->Line(), list[0]);
    QCOMPARE(left->RecordAt(1)->Line(), list[1]);
  }

  void addMovesSelectionWithRecords() {
    TqelPwList list = SampleList();
    ShownForm shown(list);
    auto* left = Box(&shown.form, "lbxFromArchive");
    auto* right = Box(&shown.form, "lbxCopyItems");
    const TqelPwRec* gamma = left->RecordAt(3);
    Select(left, {"gamma", "Alpha"});
    modal::Click(&shown.form, "btnAdd");
    QCOMPARE(Texts(left), QStringList({"beta", "Delta"}));
    QCOMPARE(Texts(right), QStringList({"Alpha", "gamma"}));
    QCOMPARE(right->RecordAt(1), gamma);  // the same record, not a copy

    Select(right, {"gamma"});
    modal::Click(&shown.form, "btnRemove");
    QCOMPARE(Texts(left), QStringList({"beta", "Delta", "gamma"}));
    QCOMPARE(left->RecordAt(2), gamma);
    QCOMPARE(gamma->RawNote(), std::string("note\\nx"));
  }

  void addTakesOnlyTheLeftSelection() {
    TqelPwList list = SampleList();
    ShownForm shown(list);
    auto* left = Box(&shown.form, "lbxFromArchive");
    auto* right = Box(&shown.form, "lbxCopyItems");
    modal::Click(&shown.form, "btnAddAll");
    QCOMPARE(right->count(), 4);
    QCOMPARE(left->count(), 0);
    Select(right, {"beta"});
    modal::Click(&shown.form, "btnAdd");  // nothing selected on the left
    QCOMPARE(right->count(), 4);
    modal::Click(&shown.form, "btnRemoveAll");
    QCOMPARE(Texts(left), QStringList({"Alpha", "beta", "Delta", "gamma"}));
    QCOMPARE(right->count(), 0);
  }

  void okRewritesListWithChosenLines() {
    TqelPwList list = SampleList();
    modal::WhenModal(kForm, [](QWidget* dlg) {
      Select(Box(dlg, "lbxFromArchive"), {"gamma", "beta"});
      modal::Click(dlg, "btnAdd");
      modal::Click(dlg, "btnOK");
    });
    QCOMPARE(ExecuteImport(list), int(mrOk));
    QCOMPARE(Lines(list), QStringList({"beta=b1\tpb\t\t", "gamma=g1\tpg\t\tnote\\nx"}));
  }

  void okWithNothingChosenEmptiesList() {
    TqelPwList list = SampleList();
    modal::WhenModal(kForm, [](QWidget* dlg) { modal::Key(dlg, Qt::Key_Return); });
    QCOMPARE(ExecuteImport(list), int(mrOk));
    QCOMPARE(list.Count(), 0);
  }

  void cancelWaysLeaveList_data() { modal::AddCancelWayRows(); }
  void cancelWaysLeaveList() {
    QFETCH(int, way);
    TqelPwList list = SampleList();
    const QStringList before = Lines(list);
    modal::WhenModal(kForm, [way](QWidget* dlg) {
      modal::Click(dlg, "btnAddAll");
      modal::CancelBy(dlg, way);
    });
    QCOMPARE(ExecuteImport(list), int(mrCancel));
    QCOMPARE(Lines(list), before);
  }

  void dropAcceptedOnlyFromTheOtherList() {
    TfrmImport form;
    auto* left = Box(&form, "lbxFromArchive");
    auto* right = Box(&form, "lbxCopyItems");
    QVERIFY(form.ListDragOver(right, left));
    QVERIFY(form.ListDragOver(left, right));
    QVERIFY(!form.ListDragOver(left, left));
    QVERIFY(!form.ListDragOver(right, right));
    QVERIFY(!form.ListDragOver(right, &form));
    QVERIFY(!form.ListDragOver(right, nullptr));
  }

  void dragMovesSelectedItems() {
    TqelPwList list = SampleList();
    ShownForm shown(list);
    auto* left = Box(&shown.form, "lbxFromArchive");
    auto* right = Box(&shown.form, "lbxCopyItems");
    int drags = 0;
    TfrmImport::SetDragRunner([&](TfrmImport& form, QListWidget* source) {
      ++drags;
      QListWidget* target = source == left ? right : left;
      if (!form.ListDragOver(target, source)) return false;
      form.ListDragDrop(target, source);
      return true;
    });
    Select(left, {"beta", "Delta"});
    // Pressing a selected item keeps the selection; the drag starts once
    // the mouse has moved past the drag distance.
    const QPoint start = left->visualItemRect(left->item(1)).center();
    QTest::mousePress(left->viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(left->viewport(), start + QPoint(0, 1));
    QCOMPARE(drags, 0);
    QTest::mouseMove(left->viewport(), start + QPoint(QApplication::startDragDistance() + 2, 0));
    QTest::mouseRelease(left->viewport(), Qt::LeftButton, {}, start);
    QCOMPARE(drags, 1);
    QCOMPARE(Texts(right), QStringList({"beta", "Delta"}));
    QCOMPARE(Texts(left), QStringList({"Alpha", "gamma"}));
  }

  // The list's threshold: 4 pixels along either axis start nothing, 5
  // along one start the drag (the desktop's usual distance is 10).
  void dragStartsAfterFivePixels() {
    TqelPwList list = SampleList();
    ShownForm shown(list);
    auto* left = Box(&shown.form, "lbxFromArchive");
    int drags = 0;
    CountDrags(drags, false);
    const QPoint start = left->visualItemRect(left->item(1)).center();
    QTest::mousePress(left->viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(left->viewport(), start + QPoint(4, 0));
    QTest::mouseMove(left->viewport(), start + QPoint(-4, 4));
    QCOMPARE(drags, 0);
    QTest::mouseMove(left->viewport(), start + QPoint(0, -5));
    QCOMPARE(drags, 1);
    QTest::mouseRelease(left->viewport(), Qt::LeftButton, {}, start + QPoint(0, -5));
    QCOMPARE(drags, 1);
    QCOMPARE(left->count(), 4);
  }

  void noDragFromEmptyAreaOrOtherButton_data() {
    QTest::addColumn<bool>("belowLastItem");
    QTest::addColumn<int>("button");
    QTest::newRow("left below last item") << true << int(Qt::LeftButton);
    QTest::newRow("right on an item") << false << int(Qt::RightButton);
  }
  void noDragFromEmptyAreaOrOtherButton() {
    QFETCH(bool, belowLastItem);
    QFETCH(int, button);
    TqelPwList list = SampleList();
    ShownForm shown(list);
    auto* left = Box(&shown.form, "lbxFromArchive");
    int drags = 0;
    CountDrags(drags, true);
    left->selectAll();
    const QRect last = left->visualItemRect(left->item(left->count() - 1));
    const QPoint start = belowLastItem ? QPoint(last.center().x(), last.bottom() + 40)
                                       : left->visualItemRect(left->item(0)).center();
    QVERIFY(left->viewport()->rect().contains(start));
    const auto mouseButton = static_cast<Qt::MouseButton>(button);
    QTest::mousePress(left->viewport(), mouseButton, {}, start);
    QTest::mouseMove(left->viewport(), start + QPoint(30, 0));
    QTest::mouseRelease(left->viewport(), mouseButton, {}, start + QPoint(30, 0));
    QCOMPARE(drags, 0);
    QCOMPARE(left->count(), 4);
  }

  // A list takes a drag, as a move, only where the window agrees, and
  // drops only what it took.
  void listTakesOnlyAgreedDrags_data() {
    QTest::addColumn<int>("agrees");  // -1: no handler set
    QTest::newRow("no handler") << -1;
    QTest::newRow("refused") << 0;
    QTest::newRow("agreed") << 1;
  }
  void listTakesOnlyAgreedDrags() {
    QFETCH(int, agrees);
    TImportListBox box;
    int drops = 0;
    if (agrees >= 0) box.onDragOver = [agrees](TImportListBox*, QObject*) { return agrees == 1; };
    box.onDragDrop = [&drops](TImportListBox*, QObject*) { ++drops; };
    QMimeData data;
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter({1, 1}, actions, &data, Qt::LeftButton, {});
    QDragMoveEvent move({1, 1}, actions, &data, Qt::LeftButton, {});
    QDropEvent drop(QPointF(1, 1), actions, &data, Qt::LeftButton, {});
    for (QDropEvent* event : std::initializer_list<QDropEvent*>{&enter, &move, &drop}) {
      event->setDropAction(Qt::CopyAction);
      QCoreApplication::sendEvent(box.viewport(), event);
      QCOMPARE(event->isAccepted(), agrees == 1);
      QCOMPARE(event->dropAction(), agrees == 1 ? Qt::MoveAction : Qt::CopyAction);
    }
    QCOMPARE(drops, agrees == 1 ? 1 : 0);
  }

  void refusedDropChangesNothing() {
    TqelPwList list = SampleList();
    ShownForm shown(list);
    auto* left = Box(&shown.form, "lbxFromArchive");
    TfrmImport::SetDragRunner([](TfrmImport& form, QListWidget* source) {
      // Dropped back onto its own list.
      if (!form.ListDragOver(source, source)) return false;
      form.ListDragDrop(source, source);
      return true;
    });
    left->selectAll();
    const QPoint start = left->visualItemRect(left->item(0)).center();
    QTest::mousePress(left->viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(left->viewport(), start + QPoint(30, 0));
    QTest::mouseRelease(left->viewport(), Qt::LeftButton, {}, start + QPoint(30, 0));
    QCOMPARE(Texts(left), QStringList({"Alpha", "beta", "Delta", "gamma"}));
    QCOMPARE(Box(&shown.form, "lbxCopyItems")->count(), 0);
  }

  void placementRestoresSizeWithinMinimum_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QSize>("size");
    QTest::newRow("larger") << "0 40 50 450 700" << QSize(700, 450);
    QTest::newRow("below minimum") << "0 40 50 100 100" << QSize(625, 354);
  }
  void placementRestoresSizeWithinMinimum() {
    QFETCH(QString, stored);
    QFETCH(QSize, size);
    State().SetValue(kForm, stored);
    {
      TfrmImport form;
      QCOMPARE(form.size(), size);
      QCOMPARE(Box(&form, "lbxFromArchive")->geometry(), ImportLayout(size).fromList);
      QCOMPARE(Box(&form, "lbxCopyItems")->geometry(), ImportLayout(size).copyList);
    }
    const QStringList words = State().GetValue(kForm).split(u' ');
    QCOMPARE(words.size(), 5);
    QCOMPARE(words.mid(0, 3), QStringList({"0", "40", "50"}));
  }
};

QTEST_MAIN(ImportDialogTest)
#include "import_dialog_test.moc"
