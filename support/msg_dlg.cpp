#include "support/msg_dlg.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <optional>

#include <unistd.h>

#include "support/accessor.h"
#include "support/file_dialogs.h"
#include "support/modal_result.h"

namespace {

TAccessor<TqelMsgDlg> gAccessor("MsgDlg");

TqelMsgDlg::Answerer& CurrentAnswerer() {
  static TqelMsgDlg::Answerer answerer;
  return answerer;
}

// Asks the test answerer when there is one; nullopt means "show the dialog".
std::optional<QVariant> Answered(const TMsgRequest& request) {
  const auto& answerer = CurrentAnswerer();
  if (!answerer) return std::nullopt;
  return answerer(request);
}

int ShowQuestion(const QString& message) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), message);
  QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
  yes->setObjectName(QStringLiteral("btnYes"));
  no->setObjectName(QStringLiteral("btnNo"));
  box.setDefaultButton(yes);
  // With No as the escape button, Escape and the title bar's close button
  // both answer No: a dismissed question never counts as consent.
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes ? mrYes : mrNo;
}

int ShowChoice(const QString& message, const QStringList& buttons) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), message);
  QList<QPushButton*> pushed;
  for (const QString& caption : buttons) pushed << box.addButton(caption, QMessageBox::ActionRole);
  if (pushed.isEmpty()) return -1;
  box.setDefaultButton(pushed.first());
  box.setEscapeButton(pushed.last());
  box.exec();
  return static_cast<int>(pushed.indexOf(static_cast<QPushButton*>(box.clickedButton())));
}

int ShowNotice(QMessageBox::Icon icon, const QString& title, const QString& message) {
  QMessageBox box(icon, title, message);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  ok->setObjectName(QStringLiteral("btnOK"));
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  return mrOk;
}

int Ask(TMsgRequest::Kind kind, const QString& message) {
  if (auto answer = Answered({kind, message, {}, {}, {}, {}, {}})) return answer->toInt();
  switch (kind) {
    case TMsgRequest::Question:
      return ShowQuestion(message);
    case TMsgRequest::Error:
      return ShowNotice(QMessageBox::Critical, QStringLiteral("Error"), message);
    default:
      return ShowNotice(QMessageBox::Warning, QStringLiteral("Warning"), message);
  }
}

QString StartFolder(const QString& initialDir) {
  return initialDir.isEmpty() ? TqelMsgDlg::DefaultFolder() : initialDir;
}

}  // namespace

TqelMsgDlg::TqelMsgDlg() { gAccessor.Admit(); }

TqelMsgDlg::~TqelMsgDlg() = default;

TqelMsgDlg& MsgDlg() { return gAccessor.Get(); }

bool TqelMsgDlg::IsNo(const QString& message) {
  return Ask(TMsgRequest::Question, message) != mrYes;
}

bool TqelMsgDlg::IsYes(const QString& message) {
  return Ask(TMsgRequest::Question, message) == mrYes;
}

int TqelMsgDlg::Choose(const QString& message, const QStringList& buttons) {
  const TMsgRequest request{TMsgRequest::Choice, message, {}, {}, {}, {}, buttons};
  if (auto answer = Answered(request)) return answer->isNull() ? -1 : answer->toInt();
  return ShowChoice(message, buttons);
}

int TqelMsgDlg::ShowError(const QString& message) { return Ask(TMsgRequest::Error, message); }

int TqelMsgDlg::ShowWarning(const QString& message) { return Ask(TMsgRequest::Warning, message); }

QString TqelMsgDlg::OpenFileDlg(const QString& title, const QString& filter,
                                const QString& initialDir, const QString& defaultExt,
                                bool mustExist) {
  const TMsgRequest request{TMsgRequest::OpenFile,   title, {}, filter, defaultExt,
                            StartFolder(initialDir), {}};
  if (auto answer = Answered(request)) return answer->toString();
  return RunOpenFileDialog(request, mustExist);
}

QString TqelMsgDlg::SaveFileDlg(const QString& title, const QString& filter,
                                const QString& defaultExt, bool overwritePrompt,
                                const QString& initialDir) {
  const TMsgRequest request{TMsgRequest::SaveFile,   title, {}, filter, defaultExt,
                            StartFolder(initialDir), {}};
  if (auto answer = Answered(request)) return answer->toString();
  return RunSaveFileDialog(request, overwritePrompt);
}

bool TqelMsgDlg::InputQuery(const QString& caption, const QString& prompt, QString& value) {
  const TMsgRequest request{TMsgRequest::InputText, caption, prompt, {}, {}, {}, {}};
  if (auto answer = Answered(request)) {
    if (answer->isNull()) return false;
    value = answer->toString();
    return true;
  }
  QInputDialog dialog;
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(value);
  if (dialog.exec() != QDialog::Accepted) return false;
  value = dialog.textValue();
  return true;
}

void TqelMsgDlg::SetAnswerer(Answerer answerer) { CurrentAnswerer() = std::move(answerer); }

QString TqelMsgDlg::DefaultFolder() {
  return FileDialogFolder({}, ::isatty(STDIN_FILENO) != 0, QDir::currentPath());
}

QString TqelMsgDlg::ArchiveFolder(const QString& archivePath) {
  return FileDialogFolder(archivePath, ::isatty(STDIN_FILENO) != 0, QDir::currentPath());
}
