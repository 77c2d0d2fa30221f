#pragma once
// One of the import window's two site lists. Items carry a pointer to a
// site record owned by the window, and each new item takes its place in
// the site list's collation order. A drag starts only from a left-button
// press on an existing item, once the mouse has moved kDragThreshold pixels
// along either axis; what happens on drag and drop is the window's
// business, reached through the handlers it installs.

#include <QListWidget>
#include <QPoint>
#include <functional>

class TqelPwRec;

// The drag threshold, smaller than the desktop's usual distance.
inline constexpr int kDragThreshold = 5;

// True once a press at from, dragged to to, should start a drag.
bool PastDragThreshold(QPoint from, QPoint to);

class TImportListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit TImportListBox(QWidget* parent = nullptr);

  // Adds an item showing the record's site name at its sorted place (after
  // any item that sorts equal) and returns its row.
  int AddRecord(TqelPwRec* rec);
  TqelPwRec* RecordAt(int row) const;

  // Set by the window: start a drag of this list's selection; may this
  // list accept a drag from source; drop from source onto this list.
  std::function<void(TImportListBox* self)> onStartDrag;
  std::function<bool(TImportListBox* self, QObject* source)> onDragOver;
  std::function<void(TImportListBox* self, QObject* source)> onDragDrop;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Takes a drag from a list onDragOver agrees to as a move; ignores any
  // other. True when taken.
  bool AcceptDrag(QDropEvent* event);
  bool FDragArmed = false;
  QPoint FPressPos;
  // A drag run from a mouse move ends with the button up; the view must not
  // take that release as a click on what now lies under the mouse.
  bool FSwallowRelease = false;
};
