#include "app/site_list_box.h"

#include "app/site_filter.h"

#include <QItemSelectionModel>
#include <QKeyEvent>

TSiteListBox::TSiteListBox(QWidget* parent)
    : QListView(parent), model_(new TSiteListModel(this)), filter_(new TSiteFilter(model_, this)) {
  setModel(filter_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Every row has the same height: the view then lays out 100,000 rows
  // without measuring each.
  setUniformItemSizes(true);
  connect(filter_, &TSiteFilter::Shown, this, &TSiteListBox::FoundShown);
}

int TSiteListBox::ItemIndex() const {
  const QModelIndexList rows = selectionModel()->selectedIndexes();
  return rows.isEmpty() ? -1 : filter_->ToSource(rows.first().row());
}

void TSiteListBox::SetItemIndex(int row) {
  if (row < 0 || row >= Count()) {
    SelectShown({});
    return;
  }
  const int shown = filter_->FromSource(row);
  SelectShown(filter_->index(shown >= 0 ? shown : 0));
}

void TSiteListBox::SelectShown(const QModelIndex& shown) {
  if (!shown.isValid()) {
    selectionModel()->clearSelection();
    return;
  }
  selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect);
  scrollTo(shown);
}

void TSiteListBox::SetFilter(const QString& query) { filter_->SetQuery(query); }

// The selection follows its site through the new rows; a hidden one gives
// way to the first site shown.
void TSiteListBox::FoundShown() {
  const int selected = ItemIndex();
  SetItemIndex(selected >= 0 ? selected : 0);
}

bool TSiteListBox::Searching() const { return filter_->Searching(); }

int TSiteListBox::ShownCount() const {
  filter_->Finish();
  return filter_->rowCount();
}

void TSiteListBox::AddBatch(std::vector<std::unique_ptr<TqelPwRec>> recs) {
  const int selected = ItemIndex();
  const TqelPwRec* keep = selected >= 0 ? &Record(selected) : nullptr;
  model_->AddBatch(std::move(recs));
  SetItemIndex(keep != nullptr ? model_->RowOf(keep) : 0);
}

void TSiteListBox::AddLines(std::vector<std::string> lines) {
  const int selected = ItemIndex();
  const TqelPwRec* keep = selected >= 0 ? &Record(selected) : nullptr;
  model_->AddLines(std::move(lines));
  SetItemIndex(keep != nullptr ? model_->RowOf(keep) : 0);
}

void TSiteListBox::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  if (!text.isEmpty()) emit KeyPress(text.front());
  QListView::keyPressEvent(event);
}

void TSiteListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QListView::mouseDoubleClickEvent(event);
  emit DblClick();
}

QItemSelectionModel::SelectionFlags TSiteListBox::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const {
  // A click on the blank area below the entries selects nothing, and
  // Ctrl+click or Ctrl+Space on the selected entry would unselect it.
  if (!index.isValid()) return QItemSelectionModel::NoUpdate;
  const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
  if (command.testFlag(QItemSelectionModel::Deselect)) return QItemSelectionModel::NoUpdate;
  return command;
}
