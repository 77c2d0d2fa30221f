// The find box's filter over a list longer than one search slice: its rows
// equal a plain scan of the folded texts, whatever the path (a fresh search,
// a narrowing one, a kept result), and a search made stale is dropped.

#include <QSignalSpy>
#include <QTest>

#include "app/site_filter.h"
#include "app/site_list_model.h"
#include "core/search_fold.h"
#include "support/text_convert.h"

namespace {

constexpr int kSites = 70000;  // more than one slice

std::unique_ptr<TqelPwRec> Site(int i) {
  auto rec = std::make_unique<TqelPwRec>();
  rec->SetSite("Site " + std::to_string(i) + (i % 7 == 0 ? " M\xc3\xbcnchen" : ""));
  rec->SetUser("user" + std::to_string(i % 1000));
  rec->SetURL(i % 3 == 0 ? "https://shop.example" : "");
  return rec;
}

std::vector<int> Scan(const TSiteListModel& model, const QString& query) {
  const std::string folded = FoldForSearch(ToBytes(query));
  std::vector<int> rows;
  for (int row = 0; row < model.Count(); ++row) {
    if (SearchMatches(model.SearchText(row), folded)) rows.push_back(row);
  }
  return rows;
}

std::vector<int> Shown(TSiteFilter& filter) {
  // Each turn of the event loop runs one slice.
  for (int turn = 0; turn < 100 && filter.Searching(); ++turn) QCoreApplication::processEvents();
  std::vector<int> rows;
  for (int row = 0; row < filter.rowCount(); ++row) rows.push_back(filter.ToSource(row));
  return rows;
}

}  // namespace

class SiteFilterTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    std::vector<std::unique_ptr<TqelPwRec>> recs;
    for (int i = 0; i < kSites; ++i) recs.push_back(Site(i));
    model_.AddBatch(std::move(recs));
  }

  // Typed letter by letter, changed in the middle and deleted again.
  void rowsEqualAPlainScan() {
    TSiteFilter filter(&model_, nullptr);
    for (const char* query : {"s", "si", "sit", "site 1", "site 12", "site 1", "MUNCHEN",
                              "munchen", "shop", "user99", "user9", "", "zzz", "", "1"}) {
      filter.SetQuery(QString::fromUtf8(query));
      QCOMPARE(Shown(filter), Scan(model_, QString::fromUtf8(query)));
      for (int row = 0; row < filter.rowCount(); row += 997) {
        QCOMPARE(filter.FromSource(filter.ToSource(row)), row);
      }
    }
  }

  void staleSearchIsDropped() {
    TSiteFilter filter(&model_, nullptr);
    QSignalSpy shown(&filter, &TSiteFilter::Shown);
    filter.SetQuery(QStringLiteral("site 2"));
    QVERIFY(filter.Searching());
    filter.SetQuery(QStringLiteral("shop"));
    QCOMPARE(Shown(filter), Scan(model_, QStringLiteral("shop")));
    QVERIFY(!filter.Searching());
    QCOMPARE(shown.count(), 1);
  }

  // A site added or removed while results are kept renumbers them.
  void modelChangesKeepRowsRight() {
    TSiteFilter filter(&model_, nullptr);
    filter.SetQuery(QStringLiteral("site 5"));
    Shown(filter);
    filter.SetQuery(QStringLiteral("site 55"));
    Shown(filter);
    const int added = model_.Add(Site(5));  // "Site 5" matches "site 5" only
    QCOMPARE(Shown(filter), Scan(model_, QStringLiteral("site 55")));
    filter.SetQuery(QStringLiteral("site 5"));
    QCOMPARE(Shown(filter), Scan(model_, QStringLiteral("site 5")));
    model_.Take(added - 1);
    model_.Take(added - 1);
    QCOMPARE(Shown(filter), Scan(model_, QStringLiteral("site 5")));
  }

 private:
  TSiteListModel model_;
};

QTEST_MAIN(SiteFilterTest)
#include "site_filter_test.moc"
