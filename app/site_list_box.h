#pragma once
// The main window's list of site names: a single-selection list view over a
// TSiteListModel, with the list box operations the window's commands use
// (selected index, entries with their records) and its two user events.
// Like a list box, it keeps its one selected entry while it has entries:
// Enter, Del and the Modify and Delete commands act on the entry that looks
// current, so the user must not be able to unselect it.
// The find box may hide entries: rows and indexes here are always those of
// the whole list, and a hidden entry is never the selected one.

#include <QListView>
#include <memory>
#include <vector>

#include "app/site_list_model.h"

class TSiteFilter;

class TSiteListBox : public QListView {
  Q_OBJECT
 public:
  explicit TSiteListBox(QWidget* parent = nullptr);

  int Count() const { return model_->Count(); }
  QString Text(int row) const { return model_->Text(row); }
  TqelPwRec& Record(int row) const { return model_->Record(row); }
  // The entry's site line; unlike Record, it leaves an entry not yet opened
  // in its compact form.
  std::string Line(int row) const { return model_->Line(row); }

  // The selected entry, or -1.
  int ItemIndex() const;
  // Selects an entry; an index outside the list selects nothing.
  void SetItemIndex(int row);

  int Add(std::unique_ptr<TqelPwRec> rec) { return model_->Add(std::move(rec)); }
  // Adds many entries at once; the selected entry stays selected, or the
  // first entry is selected when none was.
  void AddBatch(std::vector<std::unique_ptr<TqelPwRec>> recs);
  // The same for site lines (an archive read).
  void AddLines(std::vector<std::string> lines);
  std::unique_ptr<TqelPwRec> Take(int row) { return model_->Take(row); }
  void Clear() { model_->Clear(); }
  void Wipe() { model_->Wipe(); }

  // Shows only the entries that hold query (site_filter.h), at once or after
  // a search in slices. When the selected entry is hidden, the first shown
  // one is selected instead.
  void SetFilter(const QString& query);
  // The entries shown for the last query (a pending search is finished).
  int ShownCount() const;
  // A search is still running in slices.
  bool Searching() const;

 signals:
  // A character typed while the list has the focus (Enter arrives as "\r").
  void KeyPress(QChar key);
  // A double-click anywhere on the list, on an entry or not.
  void DblClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  QItemSelectionModel::SelectionFlags selectionCommand(
      const QModelIndex& index, const QEvent* event = nullptr) const override;

 private:
  void SelectShown(const QModelIndex& shown);
  void FoundShown();

  TSiteListModel* model_;  // owned as a child
  TSiteFilter* filter_;    // owned as a child; the view shows its rows
};
