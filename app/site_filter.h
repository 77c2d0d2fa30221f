#pragma once
// The sites the find box lets through: those whose name, user name, URL or
// notes hold the typed text, letter case and accents ignored. It only hides
// rows; the rows, their order and their records stay the model's.
//
// A keystroke costs what it changes: a longer query looks only among the
// sites the shorter one found, a query seen a moment ago (Backspace) takes
// its kept result, and a long search runs in slices from a timer, so typing
// is never blocked; a search that the next key makes stale is dropped. A
// new result is shown as a layout change: the view lays out and paints only
// the rows it shows, and the selection follows its site.

#include <QAbstractListModel>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TSiteListModel;

class TSiteFilter : public QAbstractListModel {
  Q_OBJECT
 public:
  TSiteFilter(TSiteListModel* sites, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // Shows only the sites that hold query; an empty query shows every site.
  // The result is shown at once when it is known or quick to find, else
  // after the last slice; Shown() follows when it is.
  void SetQuery(const QString& query);
  // Runs a pending search to its end, so the rows are those of the query.
  void Finish();
  bool Searching() const { return job_.has_value(); }

  // The model row of a shown row and back (-1 for a hidden model row).
  int ToSource(int shownRow) const;
  int FromSource(int sourceRow) const;

 signals:
  // The rows now shown are those of the last query.
  void Shown();

 private:
  using TRows = std::shared_ptr<const std::vector<int>>;
  // A query's result, kept while later queries still contain it.
  struct TFound {
    std::string query;
    TRows rows;
  };
  struct TJob {
    std::string query;
    TRows candidates;  // null: every row
    std::size_t next = 0;
    std::vector<int> found;
  };

  // Matches up to limit more sites; shows the result after the last ones.
  void RunSlice(std::size_t limit);
  void NextSlice();
  void Show(const std::string& query, TRows rows);
  bool SameRows(const TRows& rows) const;
  // Keeps the rows shown as the result of their query.
  void Remember();
  const TFound* BestKnown(const std::string& query) const;
  bool Matches(int sourceRow, const std::string& query) const;
  // The model changed under the rows: rows kept are renumbered, results
  // kept are dropped and a pending search starts again.
  void SourceInserted(const QModelIndex& parent, int first, int last);
  void SourceAboutToRemove(const QModelIndex& parent, int first, int last);
  void SourceRemoved(const QModelIndex& parent, int first, int last);
  void SourceAboutToReset();
  void SourceReset();

  TSiteListModel* sites_;
  std::string query_;  // the query of the rows shown
  TRows rows_;         // the model rows shown, ascending; null: every row
  std::vector<TFound> known_;
  std::optional<TJob> job_;
  QTimer slices_;
  std::pair<int, int> removing_{-1, -1};  // shown rows being removed
};
