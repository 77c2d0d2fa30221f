// The site list's entries: collation order, equal names, batches, and the
// records the entries own.

#include <QTest>

#include "app/site_list_box.h"
#include "app/site_list_model.h"

namespace {

std::unique_ptr<TqelPwRec> Rec(const char* site, const char* user = "") {
  auto rec = std::make_unique<TqelPwRec>();
  rec->SetSite(site);
  rec->SetUser(user);
  return rec;
}

QStringList Texts(const TSiteListModel& model) {
  QStringList texts;
  for (int row = 0; row < model.Count(); ++row) texts << model.Text(row);
  return texts;
}

QStringList Users(const TSiteListModel& model) {
  QStringList users;
  for (int row = 0; row < model.Count(); ++row)
    users << QString::fromStdString(model.Record(row).User());
  return users;
}

}  // namespace

class SiteListModelTest : public QObject {
  Q_OBJECT
 private slots:
  void addKeepsCaseInsensitiveOrder_data() {
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("letter case ignored") << QStringList{"banana", "Apple", "cherry", "apple2"}
                                         << QStringList{"Apple", "apple2", "banana", "cherry"};
    QTest::newRow("upper before lower does not matter")
        << QStringList{"b", "A", "a", "B"} << QStringList{"A", "a", "b", "B"};
    QTest::newRow("accented letters sort with their base letter")
        << QStringList{"zeta", "\u00e9clair", "eagle", "fig"}
        << QStringList{"eagle", "\u00e9clair", "fig", "zeta"};
    QTest::newRow("empty name first") << QStringList{"x", ""} << QStringList{"", "x"};
  }
  void addKeepsCaseInsensitiveOrder() {
    QFETCH(QStringList, added);
    QFETCH(QStringList, shown);
    TSiteListModel model;
    for (const QString& site : added) model.Add(Rec(site.toUtf8().constData()));
    QCOMPARE(Texts(model), shown);
  }

  void addReturnsTheNewRow() {
    TSiteListModel model;
    QCOMPARE(model.Add(Rec("m")), 0);
    QCOMPARE(model.Add(Rec("a")), 0);
    QCOMPARE(model.Add(Rec("z")), 2);
    QCOMPARE(model.Add(Rec("n")), 2);
  }

  void equalNamesGoAfterExistingEquals() {
    TSiteListModel model;
    model.Add(Rec("Mail", "first"));
    model.Add(Rec("mail", "second"));
    QCOMPARE(model.Add(Rec("MAIL", "third")), 2);
    QCOMPARE(Users(model), (QStringList{"first", "second", "third"}));
  }

  void batchMatchesSingleAdds_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("batch");
    QTest::newRow("empty list, sorted batch") << QStringList{} << QStringList{"a", "b", "c"};
    QTest::newRow("empty list, unsorted batch") << QStringList{} << QStringList{"c", "A", "b", "a"};
    QTest::newRow("merge into present") << QStringList{"b", "d"} << QStringList{"e", "a", "c"};
    QTest::newRow("equal names across both") << QStringList{"x", "X"} << QStringList{"x", "a"};
    QTest::newRow("names alike past the sort key's head")
        << QStringList{"a long site name shared by every entry, then B"}
        << QStringList{"a long site name shared by every entry, then c",
                       "A LONG SITE NAME SHARED BY EVERY ENTRY, THEN b",
                       "a long site name shared by every entry, then a"};
  }
  void batchMatchesSingleAdds() {
    QFETCH(QStringList, present);
    QFETCH(QStringList, batch);
    TSiteListModel single, batched, lined;  // lined: the batch as site lines
    int user = 0;
    for (const QString& site : present) {
      const std::string tag = std::to_string(user++);
      single.Add(Rec(site.toUtf8().constData(), tag.c_str()));
      batched.Add(Rec(site.toUtf8().constData(), tag.c_str()));
      lined.Add(Rec(site.toUtf8().constData(), tag.c_str()));
    }
    std::vector<std::unique_ptr<TqelPwRec>> recs;
    std::vector<std::string> lines;
    for (const QString& site : batch) {
      const std::string tag = std::to_string(user++);
      single.Add(Rec(site.toUtf8().constData(), tag.c_str()));
      recs.push_back(Rec(site.toUtf8().constData(), tag.c_str()));
      lines.push_back(recs.back()->Line());
    }
    batched.AddBatch(std::move(recs));
    lined.AddLines(std::move(lines));
    QCOMPARE(Texts(batched), Texts(single));
    QCOMPARE(Users(batched), Users(single));
    QCOMPARE(Texts(lined), Texts(single));
    for (int row = 0; row < single.Count(); ++row) {
      QCOMPARE(lined.Line(row), single.Record(row).Line());
      QCOMPARE(lined.SearchText(row), single.SearchText(row));
    }
    QCOMPARE(Users(lined), Users(single));  // the records made from the lines
  }

  void takeHandsOverTheSameRecord() {
    TSiteListModel model;
    model.Add(Rec("a"));
    model.Add(Rec("b"));
    TqelPwRec* held = &model.Record(1);
    std::unique_ptr<TqelPwRec> taken = model.Take(1);
    QCOMPARE(taken.get(), held);
    QCOMPARE(model.Count(), 1);
    QVERIFY(model.Take(5) == nullptr);
    QVERIFY(model.Take(-1) == nullptr);
  }

  void rowOfFindsRecords() {
    TSiteListModel model;
    model.Add(Rec("b"));
    model.Add(Rec("a"));
    QCOMPARE(model.RowOf(&model.Record(1)), 1);
    TqelPwRec other;
    QCOMPARE(model.RowOf(&other), -1);
  }

  void viewShowsTextsAndSelection() {
    TSiteListBox box;
    QCOMPARE(box.ItemIndex(), -1);
    box.SetItemIndex(0);  // nothing to select in an empty list
    QCOMPARE(box.ItemIndex(), -1);
    box.Add(Rec("b"));
    box.Add(Rec("a"));
    QCOMPARE(box.model()->data(box.model()->index(0, 0)).toString(), QStringLiteral("a"));
    box.SetItemIndex(1);
    QCOMPARE(box.ItemIndex(), 1);
    box.SetItemIndex(7);
    QCOMPARE(box.ItemIndex(), -1);
  }

  void batchKeepsTheSelectedRecordSelected() {
    TSiteListBox box;
    box.Add(Rec("m"));
    box.SetItemIndex(0);
    std::vector<std::unique_ptr<TqelPwRec>> recs;
    recs.push_back(Rec("a"));
    recs.push_back(Rec("b"));
    box.AddBatch(std::move(recs));
    QCOMPARE(box.ItemIndex(), 2);
    QCOMPARE(box.Text(box.ItemIndex()), QStringLiteral("m"));
  }

  void batchIntoAnUnselectedListSelectsTheFirst() {
    TSiteListBox box;
    std::vector<std::unique_ptr<TqelPwRec>> recs;
    recs.push_back(Rec("b"));
    recs.push_back(Rec("a"));
    box.AddBatch(std::move(recs));
    QCOMPARE(box.ItemIndex(), 0);
  }

  // Enter, Del and Modify act on the selected entry: the user cannot
  // unselect it while it still looks current.
  void mouseAndKeysKeepOneEntrySelected() {
    TSiteListBox box;
    for (const char* site : {"a", "b", "c"}) box.Add(Rec(site));
    box.resize(200, 200);
    box.show();
    box.SetItemIndex(1);
    const QPoint selected = box.visualRect(box.model()->index(1, 0)).center();
    const QPoint blank = box.visualRect(box.model()->index(2, 0)).center() + QPoint(0, 100);
    QVERIFY(!box.indexAt(blank).isValid());

    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, blank);
    QCOMPARE(box.ItemIndex(), 1);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::ControlModifier, selected);
    QCOMPARE(box.ItemIndex(), 1);
    QTest::keyClick(&box, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(box.ItemIndex(), 1);
    // Another entry is still chosen by a click.
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {},
                      box.visualRect(box.model()->index(0, 0)).center());
    QCOMPARE(box.ItemIndex(), 0);
  }

  void enterAndDoubleClickAreReported() {
    TSiteListBox box;
    box.Add(Rec("a"));
    QList<QChar> keys;
    int doubleClicks = 0;
    connect(&box, &TSiteListBox::KeyPress, this, [&keys](QChar key) { keys << key; });
    connect(&box, &TSiteListBox::DblClick, this, [&doubleClicks] { ++doubleClicks; });
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_X);
    QTest::keyClick(&box, Qt::Key_Down);  // no character
    QCOMPARE(keys, (QList<QChar>{QChar('\r'), QChar('x')}));
    box.resize(200, 200);
    // Below the only entry: the list box reports double-clicks anywhere.
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, QPoint(100, 150));
    QCOMPARE(doubleClicks, 1);
  }
};

QTEST_MAIN(SiteListModelTest)
#include "site_list_model_test.moc"
