#include "app/site_list_model.h"

#include <algorithm>
#include <iterator>

#include "core/collation.h"
#include "support/secret_text.h"
#include "core/search_fold.h"
#include "support/text_convert.h"

TSiteListModel::~TSiteListModel() = default;

int TSiteListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

QVariant TSiteListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count() || role != Qt::DisplayRole) return {};
  return entries_[static_cast<std::size_t>(index.row())].text;
}

TSiteListModel::Entry TSiteListModel::MakeEntry(std::unique_ptr<TqelPwRec> rec) {
  QString text = ToQString(rec->Site());
  std::string search = SearchTextOf(*rec);
  return Entry{std::move(text), std::move(search), std::move(rec)};
}

bool TSiteListModel::Before(const Entry& a, const Entry& b) {
  return CollateCompare(a.rec->Site(), b.rec->Site()) < 0;
}

int TSiteListModel::Add(std::unique_ptr<TqelPwRec> rec) {
  Entry entry = MakeEntry(std::move(rec));
  // upper_bound: after every row that collates equal to the new one.
  const auto place = std::upper_bound(entries_.begin(), entries_.end(), entry, Before);
  const int row = static_cast<int>(place - entries_.begin());
  beginInsertRows(QModelIndex(), row, row);
  entries_.insert(place, std::move(entry));
  endInsertRows();
  return row;
}

void TSiteListModel::AddBatch(std::vector<std::unique_ptr<TqelPwRec>> recs) {
  if (recs.empty()) return;
  std::vector<Entry> batch;
  batch.reserve(recs.size());
  for (auto& rec : recs) batch.push_back(MakeEntry(std::move(rec)));
  // An archive's lines arrive nearly always in order already; checking that
  // costs one comparison per site, sorting would cost log n of them.
  if (!std::is_sorted(batch.begin(), batch.end(), Before)) {
    std::stable_sort(batch.begin(), batch.end(), Before);
  }
  std::vector<Entry> merged;
  merged.reserve(entries_.size() + batch.size());
  // merge takes equal rows from the first range first: present rows stay
  // before new rows with the same name, as single adds would place them.
  std::merge(std::make_move_iterator(entries_.begin()), std::make_move_iterator(entries_.end()),
             std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()),
             std::back_inserter(merged), Before);
  beginResetModel();
  entries_ = std::move(merged);
  endResetModel();
}

std::unique_ptr<TqelPwRec> TSiteListModel::Take(int row) {
  if (row < 0 || row >= Count()) return nullptr;
  beginRemoveRows(QModelIndex(), row, row);
  auto place = entries_.begin() + row;
  std::unique_ptr<TqelPwRec> rec = std::move(place->rec);
  entries_.erase(place);
  endRemoveRows();
  return rec;
}

void TSiteListModel::Clear() {
  beginResetModel();
  entries_.clear();
  endResetModel();
}

void TSiteListModel::Wipe() {
  for (Entry& entry : entries_) {
    WipeText(entry.text);
    entry.rec->Wipe();
  }
  Clear();
}

int TSiteListModel::RowOf(const TqelPwRec* rec) const {
  for (int row = 0; row < Count(); ++row) {
    if (entries_[static_cast<std::size_t>(row)].rec.get() == rec) return row;
  }
  return -1;
}
