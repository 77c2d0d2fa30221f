#pragma once
// The import window: the sites of another archive on the left, the ones to
// copy on the right, moved between the two with buttons or by dragging. On
// OK the given site list is rewritten with the chosen sites. Remembers its
// position and size.

#include <QDialog>
#include <functional>
#include <memory>
#include <unordered_map>

class QLabel;
class QListWidget;
class QPushButton;
class QWidget;
class TImportListBox;
class TqelPwList;
class TqelPwRec;

class TfrmImport : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmImport(QWidget* parent = nullptr);
  // Stores the placement and frees the records of both lists.
  ~TfrmImport() override;

  // The list the window fills from and rewrites on OK; the caller owns it.
  void SetList(TqelPwList& list) { FList = &list; }
  // For sites read from a file other than an archive: the window's title
  // names it, and the note says what was not offered and why.
  void SetSource(const QString& title, const QString& note);

  void reject() override;

  // Drag and drop between the two lists. A drop is accepted only from the
  // other list; it copies the source's selection, and the source deletes
  // its selection once the drop has been accepted.
  bool ListDragOver(QListWidget* target, QObject* source) const;
  void ListDragDrop(QListWidget* target, QObject* source);
  void ListEndDrag(QListWidget* source, bool accepted);

  // Test seam: runs a started drag instead of the desktop's drag loop and
  // tells whether a target accepted the drop.
  using DragRunner = std::function<bool(TfrmImport& form, QListWidget* source)>;
  static void SetDragRunner(DragRunner runner);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateControls();
  void CreateButtonPanel();
  void ConnectHandlers();

  void FillFromList();
  void CopySelected(TImportListBox* source, TImportListBox* target);
  void DeleteSelected(TImportListBox* box);
  // Moves the selection, or every item, from source to target.
  void MoveItems(TImportListBox* source, TImportListBox* target, bool all);
  void FreeItemRecords(TImportListBox* box);
  TImportListBox* ListOf(QObject* object) const;

  void FormResize();
  void ListStartDrag(TImportListBox* source);
  void btnAddClick();
  void btnAddAllClick();
  void btnRemoveClick();
  void btnRemoveAllClick();
  void btnOKClick();
  void btnCancelClick();

  TqelPwList* FList = nullptr;
  bool FFilled = false;
  // The records the list items point to; they move with their items
  // between the lists and are freed with the window.
  std::unordered_map<const TqelPwRec*, std::unique_ptr<TqelPwRec>> FRecords;

  QLabel* lblFromArchive = nullptr;
  QLabel* lblCopyItems = nullptr;
  QLabel* lblImportNote = nullptr;
  TImportListBox* lbxFromArchive = nullptr;
  TImportListBox* lbxCopyItems = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QWidget* pnlButtons = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnAddAll = nullptr;
  QPushButton* btnRemoveAll = nullptr;
  QPushButton* btnRemove = nullptr;
};
