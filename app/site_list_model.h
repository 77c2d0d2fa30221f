#pragma once
// The entries of the main window's site list: one row per site, kept in
// case-insensitive collation order of the site name, each row owning its
// site record. Rows with equal names are allowed; a new row goes after the
// rows equal to it.
//
// A row holds one copy of its site: the line it was read as until its
// record is first asked for, then the record. A large archive thus costs
// one line and one folded text a site; the name shown is made when a row is
// painted.

#include <QAbstractListModel>
#include <memory>
#include <string>
#include <vector>

#include "core/pw_rec.h"

class TSiteListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;
  ~TSiteListModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  int Count() const { return static_cast<int>(entries_.size()); }
  // The row's record, made from its line when first asked for.
  TqelPwRec& Record(int row) const;
  // The row's site in its line form, as the record gives it.
  std::string Line(int row) const;
  QString Text(int row) const;
  // The row's site folded for finding (core/search_fold.h), made when the
  // row is added, so a keystroke only compares.
  const std::string& SearchText(int row) const {
    return entries_[static_cast<std::size_t>(row)].search;
  }

  // Inserts at the sorted place and returns the new row.
  int Add(std::unique_ptr<TqelPwRec> rec);
  // Inserts many records, or site lines, at once: sorts them in with the
  // rows present and resets the model, so a large archive fills in one step.
  void AddBatch(std::vector<std::unique_ptr<TqelPwRec>> recs);
  void AddLines(std::vector<std::string> lines);
  // Removes a row and hands its record to the caller.
  std::unique_ptr<TqelPwRec> Take(int row);
  // Removes every row, freeing the records.
  void Clear();
  // Overwrites every row's site and folded text, then removes the rows.
  void Wipe();
  // The row holding rec, or -1.
  int RowOf(const TqelPwRec* rec) const;

 private:
  struct Entry {
    // Exactly one of the two holds the site.
    mutable std::string line;
    mutable std::unique_ptr<TqelPwRec> rec;
    std::string search;
  };
  static Entry MakeEntry(std::unique_ptr<TqelPwRec> rec);
  static std::string SiteOf(const Entry& entry);
  static bool Before(const Entry& a, const Entry& b);
  // Sorts entries_ by name; rows with equal names keep their order.
  void SortStable();

  std::vector<Entry> entries_;
};
