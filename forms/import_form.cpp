#include "forms/import_form.h"

#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>

#include "core/pw_list.h"
#include "core/pw_rec.h"
#include "forms/form_style.h"
#include "forms/import_layout.h"
#include "forms/import_list_box.h"
#include "support/form_rtns.h"
#include "support/modal_result.h"
#include "support/state.h"

using form_style::Place;

namespace {

const QString kFormName = QStringLiteral("TfrmImport");

TfrmImport::DragRunner& DragRunnerSlot() {
  static TfrmImport::DragRunner runner;
  return runner;
}

// The desktop's drag loop; true when a target accepted the drop.
bool RunDesktopDrag(QListWidget* source) {
  QDrag drag(source);
  auto mime = std::make_unique<QMimeData>();
  mime->setData(QStringLiteral("application/x-vornix-import-items"), {});
  drag.setMimeData(mime.release());  // the drag takes ownership
  return drag.exec(Qt::MoveAction) == Qt::MoveAction;
}

QPushButton* PanelButton(QWidget* panel, const char* name, const QString& text, int top) {
  auto* button = Place<QPushButton>(panel, name, 5, top, 110, 25);
  button->setText(text);
  return button;
}

}  // namespace

void TfrmImport::SetDragRunner(DragRunner runner) { DragRunnerSlot() = std::move(runner); }

TfrmImport::TfrmImport(QWidget* parent) : QDialog(parent) {
  form_style::ApplyDialogLook(this, kFormName,
                              QStringLiteral("Import items from another Vornix file"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
  setSizeGripEnabled(true);
  CreateControls();
  ConnectHandlers();
  setMinimumSize(kImportFirstClient);
  resize(kImportFirstClient);
  move(366, 508);
  FormRtn().SetPlacement(this, State().GetValue(kFormName));
  // A hidden window gets no resize event until it is shown; lay the
  // controls out for the restored size now.
  FormResize();
}

TfrmImport::~TfrmImport() {
  State().SetValue(kFormName, FormRtn().GetPlacement(this));
  FreeItemRecords(lbxFromArchive);
  FreeItemRecords(lbxCopyItems);
}

void TfrmImport::CreateControls() {
  lblFromArchive = Place<QLabel>(this, "lblFromArchive", 16, 16, 110, 13);
  lblFromArchive->setText(QStringLiteral("From archive items"));
  lblCopyItems = Place<QLabel>(this, "lblCopyItems", 376, 16, 79, 13);
  lblCopyItems->setText(QStringLiteral("Items to copy"));
  lbxFromArchive = Place<TImportListBox>(this, "lbxFromArchive", 16, 32, 233, 265);
  lbxCopyItems = Place<TImportListBox>(this, "lbxCopyItems", 376, 32, 233, 265);
  lblFromArchive->setBuddy(lbxFromArchive);
  lblCopyItems->setBuddy(lbxCopyItems);
  btnOK = Place<QPushButton>(this, "btnOK", 448, 312, 75, 25);
  btnOK->setText(QStringLiteral("OK"));
  btnOK->setDefault(true);
  btnCancel = Place<QPushButton>(this, "btnCancel", 536, 312, 75, 25);
  btnCancel->setText(QStringLiteral("Cancel"));
  CreateButtonPanel();
  lblImportNote = Place<QLabel>(this, "lblImportNote", 16, 312, 424, 25);
  lblImportNote->setWordWrap(true);
  lblImportNote->hide();
  const QList<QWidget*> order = {lbxFromArchive, lbxCopyItems, btnOK,     btnCancel,
                                 btnRemoveAll,   btnAdd,       btnRemove, btnAddAll};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TfrmImport::CreateButtonPanel() {
  pnlButtons = Place<QWidget>(this, "pnlButtons", 255, 104, 120, 121);
  btnAdd = PanelButton(pnlButtons, "btnAdd", QStringLiteral("Add >"), 0);
  btnAddAll = PanelButton(pnlButtons, "btnAddAll", QStringLiteral("Add All >>"), 32);
  btnRemoveAll = PanelButton(pnlButtons, "btnRemoveAll", QStringLiteral("<< Remove All"), 64);
  btnRemove = PanelButton(pnlButtons, "btnRemove", QStringLiteral("< Remove"), 96);
}

void TfrmImport::ConnectHandlers() {
  connect(btnAdd, &QPushButton::clicked, this, &TfrmImport::btnAddClick);
  connect(btnAddAll, &QPushButton::clicked, this, &TfrmImport::btnAddAllClick);
  connect(btnRemove, &QPushButton::clicked, this, &TfrmImport::btnRemoveClick);
  connect(btnRemoveAll, &QPushButton::clicked, this, &TfrmImport::btnRemoveAllClick);
  connect(btnOK, &QPushButton::clicked, this, &TfrmImport::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmImport::btnCancelClick);
  for (TImportListBox* box : {lbxFromArchive, lbxCopyItems}) {
    box->onStartDrag = [this](TImportListBox* source) { ListStartDrag(source); };
    box->onDragOver = [this](TImportListBox* target, QObject* source) {
      return ListDragOver(target, source);
    };
    box->onDragDrop = [this](TImportListBox* target, QObject* source) {
      ListDragDrop(target, source);
    };
  }
}

void TfrmImport::showEvent(QShowEvent* event) {
  if (!FFilled) {
    FFilled = true;
    FillFromList();
  }
  QDialog::showEvent(event);
}

void TfrmImport::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  FormResize();
}

void TfrmImport::FormResize() {
  if (!pnlButtons) return;
  const TImportLayout layout = ImportLayout(size());
  lbxFromArchive->setGeometry(layout.fromList);
  lbxCopyItems->setGeometry(layout.copyList);
  lblCopyItems->setGeometry(layout.copyLabel);
  pnlButtons->setGeometry(layout.panel);
  btnOK->setGeometry(layout.ok);
  btnCancel->setGeometry(layout.cancel);
  lblImportNote->setGeometry(layout.note);
}

void TfrmImport::SetSource(const QString& title, const QString& note) {
  setWindowTitle(title);
  lblImportNote->setText(note);
  lblImportNote->setToolTip(note);
  lblImportNote->setVisible(!note.isEmpty());
}

void TfrmImport::FillFromList() {
  if (!FList) return;
  for (int i = 0; i < FList->Count(); ++i) {
    std::unique_ptr<TqelPwRec> rec = FList->Rec(i).Clone();
    TqelPwRec* item = rec.get();
    FRecords.emplace(item, std::move(rec));
    lbxFromArchive->AddRecord(item);
  }
  // The focus mark only: nothing is selected.
  if (lbxFromArchive->count() > 0) lbxFromArchive->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void TfrmImport::CopySelected(TImportListBox* source, TImportListBox* target) {
  for (int row = 0; row < source->count(); ++row) {
    if (source->item(row)->isSelected()) target->AddRecord(source->RecordAt(row));
  }
}

void TfrmImport::DeleteSelected(TImportListBox* box) {
  // The records stay: they now belong to items of the other list.
  for (int row = box->count() - 1; row >= 0; --row) {
    if (box->item(row)->isSelected()) delete box->takeItem(row);
  }
}

void TfrmImport::FreeItemRecords(TImportListBox* box) {
  while (box->count() > 0) {
    FRecords.erase(box->RecordAt(0));
    delete box->takeItem(0);
  }
}

TImportListBox* TfrmImport::ListOf(QObject* object) const {
  if (object == lbxFromArchive || object == lbxFromArchive->viewport()) return lbxFromArchive;
  if (object == lbxCopyItems || object == lbxCopyItems->viewport()) return lbxCopyItems;
  return nullptr;
}

bool TfrmImport::ListDragOver(QListWidget* target, QObject* source) const {
  TImportListBox* from = ListOf(source);
  return from && from != ListOf(target);
}

void TfrmImport::ListDragDrop(QListWidget* target, QObject* source) {
  if (!ListDragOver(target, source)) return;
  CopySelected(ListOf(source), ListOf(target));
}

void TfrmImport::ListEndDrag(QListWidget* source, bool accepted) {
  if (accepted) DeleteSelected(ListOf(source));
}

void TfrmImport::ListStartDrag(TImportListBox* source) {
  const DragRunner& runner = DragRunnerSlot();
  const bool accepted = runner ? runner(*this, source) : RunDesktopDrag(source);
  ListEndDrag(source, accepted);
}

void TfrmImport::MoveItems(TImportListBox* source, TImportListBox* target, bool all) {
  if (all) source->selectAll();
  CopySelected(source, target);
  DeleteSelected(source);
}

void TfrmImport::btnAddClick() { MoveItems(lbxFromArchive, lbxCopyItems, false); }

void TfrmImport::btnAddAllClick() { MoveItems(lbxFromArchive, lbxCopyItems, true); }

void TfrmImport::btnRemoveClick() { MoveItems(lbxCopyItems, lbxFromArchive, false); }

void TfrmImport::btnRemoveAllClick() { MoveItems(lbxCopyItems, lbxFromArchive, true); }

void TfrmImport::btnOKClick() {
  if (FList) {
    FList->Clear();
    for (int row = 0; row < lbxCopyItems->count(); ++row)
      FList->Add(lbxCopyItems->RecordAt(row)->Line());
  }
  done(mrOk);
}

void TfrmImport::btnCancelClick() { done(mrCancel); }

void TfrmImport::reject() { btnCancelClick(); }
