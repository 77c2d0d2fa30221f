#include "app/site_filter.h"

#include <algorithm>
#include <limits>

#include "app/site_list_model.h"
#include "core/search_fold.h"
#include "support/text_convert.h"

namespace {

// Sites looked at between two turns of the event loop: a few milliseconds
// of matching, so keys typed meanwhile are taken at once.
constexpr std::size_t kSliceRows = 1 << 16;

}  // namespace

TSiteFilter::TSiteFilter(TSiteListModel* sites, QObject* parent)
    : QAbstractListModel(parent), sites_(sites) {
  slices_.setSingleShot(true);
  slices_.setInterval(0);
  connect(&slices_, &QTimer::timeout, this, &TSiteFilter::NextSlice);
  connect(sites, &QAbstractItemModel::rowsInserted, this, &TSiteFilter::SourceInserted);
  connect(sites, &QAbstractItemModel::rowsAboutToBeRemoved, this,
          &TSiteFilter::SourceAboutToRemove);
  connect(sites, &QAbstractItemModel::rowsRemoved, this, &TSiteFilter::SourceRemoved);
  connect(sites, &QAbstractItemModel::modelAboutToBeReset, this, &TSiteFilter::SourceAboutToReset);
  connect(sites, &QAbstractItemModel::modelReset, this, &TSiteFilter::SourceReset);
}

int TSiteFilter::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return rows_ ? static_cast<int>(rows_->size()) : sites_->Count();
}

QVariant TSiteFilter::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  return sites_->data(sites_->index(ToSource(index.row())), role);
}

int TSiteFilter::ToSource(int shownRow) const {
  return rows_ ? (*rows_)[static_cast<std::size_t>(shownRow)] : shownRow;
}

int TSiteFilter::FromSource(int sourceRow) const {
  if (!rows_) return sourceRow >= 0 && sourceRow < sites_->Count() ? sourceRow : -1;
  const auto place = std::lower_bound(rows_->begin(), rows_->end(), sourceRow);
  if (place == rows_->end() || *place != sourceRow) return -1;
  return static_cast<int>(place - rows_->begin());
}

bool TSiteFilter::Matches(int sourceRow, const std::string& query) const {
  return SearchMatches(sites_->SearchText(sourceRow), query);
}

void TSiteFilter::SetQuery(const QString& query) {
  std::string folded = FoldForSearch(ToBytes(query));
  if (job_ && job_->query == folded) return;
  job_.reset();
  slices_.stop();
  if (folded == query_) return;
  // What a query finds, a longer one containing it can only narrow.
  std::erase_if(known_,
                [&folded](const TFound& found) { return folded.find(found.query) == std::string::npos; });
  if (folded.empty()) {
    Show(folded, nullptr);
    return;
  }
  const TFound* best = BestKnown(folded);
  if (best && best->query == folded) {
    Show(folded, best->rows);
    return;
  }
  job_ = TJob{std::move(folded), best ? best->rows : nullptr, 0, {}};
  RunSlice(kSliceRows);
}

void TSiteFilter::Finish() {
  if (!job_) return;
  slices_.stop();
  RunSlice(std::numeric_limits<std::size_t>::max());
}

const TSiteFilter::TFound* TSiteFilter::BestKnown(const std::string& query) const {
  const TFound* best = nullptr;
  for (const TFound& found : known_) {
    if (query.find(found.query) == std::string::npos) continue;
    if (!best || found.query.size() > best->query.size()) best = &found;
  }
  return best;
}

void TSiteFilter::NextSlice() { RunSlice(kSliceRows); }

void TSiteFilter::RunSlice(std::size_t limit) {
  TJob& job = *job_;
  const std::size_t total =
      job.candidates ? job.candidates->size() : static_cast<std::size_t>(sites_->Count());
  const std::size_t end = total - job.next > limit ? job.next + limit : total;
  for (std::size_t i = job.next; i < end; ++i) {
    const int row = job.candidates ? (*job.candidates)[i] : static_cast<int>(i);
    if (Matches(row, job.query)) job.found.push_back(row);
  }
  job.next = end;
  if (end < total) {
    slices_.start();
    return;
  }
  // A result equal to what it was taken from shares its rows.
  TRows rows = job.found.size() == total
                   ? job.candidates
                   : std::make_shared<const std::vector<int>>(std::move(job.found));
  const std::string query = std::move(job.query);
  job_.reset();
  Show(query, std::move(rows));
}

bool TSiteFilter::SameRows(const TRows& rows) const {
  if (rows == rows_) return true;
  const int count = rows ? static_cast<int>(rows->size()) : sites_->Count();
  if (count != rowCount()) return false;
  // Of equal length, every row or the same ones: equal when both are whole.
  if (!rows || !rows_) return true;
  return *rows == *rows_;
}

void TSiteFilter::Show(const std::string& query, TRows rows) {
  if (SameRows(rows)) {
    // The view has nothing to lay out again or repaint.
    query_ = query;
    rows_ = std::move(rows);
    Remember();
    emit Shown();
    return;
  }
  emit layoutAboutToBeChanged();
  const QModelIndexList before = persistentIndexList();
  std::vector<int> sourceRows;
  sourceRows.reserve(static_cast<std::size_t>(before.size()));
  for (const QModelIndex& index : before) sourceRows.push_back(ToSource(index.row()));
  query_ = query;
  rows_ = std::move(rows);
  Remember();
  QModelIndexList after;
  after.reserve(before.size());
  for (const int sourceRow : sourceRows) {
    const int row = FromSource(sourceRow);
    after.push_back(row >= 0 ? index(row) : QModelIndex());
  }
  changePersistentIndexList(before, after);
  emit layoutChanged();
  emit Shown();
}

void TSiteFilter::Remember() {
  if (!query_.empty() && (known_.empty() || known_.back().query != query_)) {
    known_.push_back(TFound{query_, rows_});
  }
}

void TSiteFilter::SourceInserted(const QModelIndex&, int first, int last) {
  known_.clear();
  if (job_) *job_ = TJob{job_->query, nullptr, 0, {}};
  if (!rows_) {
    beginInsertRows(QModelIndex(), first, last);
    endInsertRows();
    return;
  }
  const int count = last - first + 1;
  auto rows = std::make_shared<std::vector<int>>(*rows_);
  const auto place = std::lower_bound(rows->begin(), rows->end(), first);
  for (auto it = place; it != rows->end(); ++it) *it += count;
  std::vector<int> added;
  for (int row = first; row <= last; ++row) {
    if (Matches(row, query_)) added.push_back(row);
  }
  const int at = static_cast<int>(place - rows->begin());
  rows->insert(place, added.begin(), added.end());
  if (added.empty()) {
    rows_ = std::move(rows);
    return;
  }
  beginInsertRows(QModelIndex(), at, at + static_cast<int>(added.size()) - 1);
  rows_ = std::move(rows);
  endInsertRows();
}

void TSiteFilter::SourceAboutToRemove(const QModelIndex&, int first, int last) {
  if (!rows_) {
    removing_ = {first, last};
  } else {
    const auto low = std::lower_bound(rows_->begin(), rows_->end(), first);
    const auto high = std::upper_bound(low, rows_->end(), last);
    removing_ = {static_cast<int>(low - rows_->begin()), static_cast<int>(high - rows_->begin()) - 1};
  }
  if (removing_.first <= removing_.second) {
    beginRemoveRows(QModelIndex(), removing_.first, removing_.second);
  }
}

void TSiteFilter::SourceRemoved(const QModelIndex&, int first, int last) {
  known_.clear();
  if (job_) *job_ = TJob{job_->query, nullptr, 0, {}};
  if (rows_) {
    const int count = last - first + 1;
    auto rows = std::make_shared<std::vector<int>>();
    rows->reserve(rows_->size());
    for (const int row : *rows_) {
      if (row < first) rows->push_back(row);
      if (row > last) rows->push_back(row - count);
    }
    rows_ = std::move(rows);
  }
  if (removing_.first <= removing_.second) endRemoveRows();
  removing_ = {-1, -1};
}

void TSiteFilter::SourceAboutToReset() {
  beginResetModel();
  slices_.stop();
}

// A new list (an archive opened) is searched at once for the query typed.
void TSiteFilter::SourceReset() {
  known_.clear();
  if (job_) query_ = job_->query;
  job_.reset();
  if (query_.empty()) {
    rows_ = nullptr;
  } else {
    auto rows = std::make_shared<std::vector<int>>();
    for (int row = 0; row < sites_->Count(); ++row) {
      if (Matches(row, query_)) rows->push_back(row);
    }
    rows_ = std::move(rows);
    Remember();
  }
  endResetModel();
  emit Shown();
}
