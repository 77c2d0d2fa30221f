#include "app/site_list_model.h"

#include <algorithm>
#include <cstdint>

#include "core/collation.h"
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
  TqelPwRec parsed;
  parsed.SetLine(entry.line);
  std::string site = parsed.Site();
  parsed.Wipe();
  return site;
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
  struct TKeyed {
    TCollationKey key;
    std::uint32_t index;
  };
  std::vector<TKeyed> keyed(entries_.size());
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    keyed[i] = TKeyed{CollationKeyOf(SiteOf(entries_[i])), static_cast<std::uint32_t>(i)};
  }
  const auto before = [this](const TKeyed& a, const TKeyed& b) {
    if (a.key.head != b.key.head || (a.key.complete && b.key.complete)) {
      return CompareCollated(a.key, {}, b.key, {}) < 0;
    }
    // Names that share the key's head: compared in full.
    return CollateCompare(SiteOf(entries_[a.index]), SiteOf(entries_[b.index])) < 0;
  };
  // An archive's lines arrive nearly always in order already; checking that
  // costs one comparison of two keys per site.
  if (std::is_sorted(keyed.begin(), keyed.end(), before)) return;
  std::stable_sort(keyed.begin(), keyed.end(), before);
  std::vector<Entry> sorted;
  sorted.reserve(entries_.size());
  for (const TKeyed& item : keyed) sorted.push_back(std::move(entries_[item.index]));
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
