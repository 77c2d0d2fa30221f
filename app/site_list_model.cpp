#include "app/site_list_model.h"

#include <algorithm>
#include <cstdint>

#include "core/collation.h"
#include "core/collation_order.h"
#include "core/search_fold.h"
#include "core/secret_wipe.h"
#include "support/text_convert.h"

namespace {

// Overwrites a line and gives its memory back.
void Forget(std::string& line) {
  WipeString(line);
  line.shrink_to_fit();
}

}  // namespace

TSiteListModel::~TSiteListModel() = default;

int TSiteListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

QVariant TSiteListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count() || role != Qt::DisplayRole) return {};
  return Text(index.row());
}

TqelPwRec& TSiteListModel::Record(int row) const {
  const Entry& entry = entries_.at(static_cast<std::size_t>(row));
  if (!entry.rec) {
    entry.rec = std::make_unique<TqelPwRec>();
    entry.rec->SetLine(entry.line);
    Forget(entry.line);
  }
  return *entry.rec;
}

std::string TSiteListModel::Line(int row) const {
  const Entry& entry = entries_.at(static_cast<std::size_t>(row));
  if (entry.rec) return entry.rec->Line();
  TqelPwRec parsed;
  parsed.SetLine(entry.line);
  std::string line = parsed.Line();
  parsed.Wipe();
  return line;
}

QString TSiteListModel::Text(int row) const {
  return ToQString(SiteOf(entries_.at(static_cast<std::size_t>(row))));
}

std::string TSiteListModel::SiteOf(const Entry& entry) {
  if (entry.rec) return entry.rec->Site();
  return std::string(SiteNameOf(entry.line));
}

TSiteListModel::Entry TSiteListModel::MakeEntry(std::unique_ptr<TqelPwRec> rec) {
  std::string search = SearchTextOf(*rec);
  return Entry{{}, std::move(rec), std::move(search)};
}

bool TSiteListModel::Before(const Entry& a, const Entry& b) {
  return CollateCompare(SiteOf(a), SiteOf(b)) < 0;
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
  beginResetModel();
  entries_.reserve(entries_.size() + recs.size());
  for (auto& rec : recs) entries_.push_back(MakeEntry(std::move(rec)));
  // The rows present come first, so a stable sort leaves them before new
  // rows with the same name, as single adds would place them.
  SortStable();
  endResetModel();
}

void TSiteListModel::AddLines(std::vector<std::string> lines) {
  if (lines.empty()) return;
  beginResetModel();
  entries_.reserve(entries_.size() + lines.size());
  TqelPwRec parsed;
  for (std::string& line : lines) {
    parsed.SetLine(line);
    entries_.push_back(Entry{std::move(line), nullptr, SearchTextOf(parsed)});
  }
  parsed.Wipe();
  SortStable();
  endResetModel();
}

void TSiteListModel::SortStable() {
  // Every row's name seen in place (in its record, or in its line), so
  // sorting makes no copy of any site. An archive's lines arrive nearly
  // always in order already, which costs one comparison per row.
  std::vector<std::string_view> names(entries_.size());
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& entry = entries_[i];
    names[i] = entry.rec ? std::string_view(entry.rec->Site()) : SiteNameOf(entry.line);
  }
  const std::vector<std::uint32_t> order = CollationOrder(names, TCollationTies::Place);
  names.clear();
  if (std::is_sorted(order.begin(), order.end())) return;
  std::vector<Entry> sorted;
  sorted.reserve(entries_.size());
  for (const std::uint32_t index : order) sorted.push_back(std::move(entries_[index]));
  entries_ = std::move(sorted);
}

std::unique_ptr<TqelPwRec> TSiteListModel::Take(int row) {
  if (row < 0 || row >= Count()) return nullptr;
  Record(row);
  beginRemoveRows(QModelIndex(), row, row);
  auto place = entries_.begin() + row;
  std::unique_ptr<TqelPwRec> rec = std::move(place->rec);
  entries_.erase(place);
  endRemoveRows();
  return rec;
}

void TSiteListModel::Clear() {
  beginResetModel();
  for (Entry& entry : entries_) Forget(entry.line);
  entries_.clear();
  endResetModel();
}

void TSiteListModel::Wipe() {
  for (Entry& entry : entries_) {
    WipeString(entry.search);
    if (entry.rec) entry.rec->Wipe();
  }
  Clear();
}

int TSiteListModel::RowOf(const TqelPwRec* rec) const {
  if (rec == nullptr) return -1;
  for (int row = 0; row < Count(); ++row) {
    if (entries_[static_cast<std::size_t>(row)].rec.get() == rec) return row;
  }
  return -1;
}
