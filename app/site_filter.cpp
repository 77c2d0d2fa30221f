#include "app/site_filter.h"

#include "app/site_list_model.h"
#include "core/search_fold.h"
#include "support/text_convert.h"

TSiteFilter::TSiteFilter(TSiteListModel* sites, QObject* parent)
    : QSortFilterProxyModel(parent), sites_(sites) {
  setSourceModel(sites);
}

void TSiteFilter::SetQuery(const QString& query) {
  std::string folded = FoldForSearch(ToBytes(query));
  if (folded == foldedQuery_) return;
  foldedQuery_ = std::move(folded);
  invalidateFilter();
}

bool TSiteFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
  return SearchMatches(sites_->SearchText(sourceRow), foldedQuery_);
}
