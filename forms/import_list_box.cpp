#include "forms/import_list_box.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <cstdlib>

#include "core/collation.h"
#include "core/pw_rec.h"
#include "support/text_convert.h"

namespace {
constexpr int kRecordRole = Qt::UserRole;
}

bool PastDragThreshold(QPoint from, QPoint to) {
  return std::abs(to.x() - from.x()) >= kDragThreshold ||
         std::abs(to.y() - from.y()) >= kDragThreshold;
}

TImportListBox::TImportListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  // The view keeps a multiple selection when a selected item is pressed, so
  // that it can be dragged; the threshold and startDrag are ours.
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DragDrop);
  setUniformItemSizes(true);
}

int TImportListBox::AddRecord(TqelPwRec* rec) {
  // Binary search for the first row that sorts after the new site.
  int low = 0;
  int high = count();
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (CollateCompare(RecordAt(mid)->Site(), rec->Site()) <= 0) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  auto* item = new QListWidgetItem(ToQString(rec->Site()));
  item->setData(kRecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(rec)));
  insertItem(low, item);  // the list takes ownership
  return low;
}

TqelPwRec* TImportListBox::RecordAt(int row) const {
  const QListWidgetItem* it = item(row);
  return it ? reinterpret_cast<TqelPwRec*>(it->data(kRecordRole).value<quintptr>()) : nullptr;
}

void TImportListBox::mousePressEvent(QMouseEvent* event) {
  // Only a left press on an item may start a drag; the empty area below the
  // last item and other buttons do not.
  FDragArmed = event->button() == Qt::LeftButton && itemAt(event->position().toPoint());
  FPressPos = event->position().toPoint();
  FSwallowRelease = false;
  QListWidget::mousePressEvent(event);
}

void TImportListBox::mouseMoveEvent(QMouseEvent* event) {
  // The view's own check waits for the desktop's drag distance; the list
  // box starts at its own, smaller threshold.
  if (FDragArmed && event->buttons().testFlag(Qt::LeftButton) && !selectedItems().isEmpty() &&
      PastDragThreshold(FPressPos, event->position().toPoint())) {
    FSwallowRelease = true;
    startDrag(model()->supportedDragActions());
    setState(NoState);
    stopAutoScroll();
    return;
  }
  QListWidget::mouseMoveEvent(event);
}

void TImportListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (FSwallowRelease) {
    FSwallowRelease = false;
    return;
  }
  QListWidget::mouseReleaseEvent(event);
}

void TImportListBox::startDrag(Qt::DropActions) {
  if (!FDragArmed) return;
  FDragArmed = false;
  if (onStartDrag) onStartDrag(this);
}

bool TImportListBox::AcceptDrag(QDropEvent* event) {
  if (!onDragOver || !onDragOver(this, event->source())) {
    event->ignore();
    return false;
  }
  event->setDropAction(Qt::MoveAction);
  event->accept();
  return true;
}

void TImportListBox::dragEnterEvent(QDragEnterEvent* event) { AcceptDrag(event); }

void TImportListBox::dragMoveEvent(QDragMoveEvent* event) { AcceptDrag(event); }

void TImportListBox::dropEvent(QDropEvent* event) {
  if (AcceptDrag(event) && onDragDrop) onDragDrop(this, event->source());
}
