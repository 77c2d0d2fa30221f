#pragma once
// Shared set-up for the main window's tests: settings in a temporary store,
// message dialogs and password prompts answered from queues, errors
// collected instead of shown, and small helpers to make archives.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "app/app_texts.h"
#include "app/error_display.h"
#include "app/main_window.h"
#include "app/site_list_box.h"
#include "archive/storage/safe_save.h"
#include "archive/streams.h"
#include "archive/zip/zip_engine.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/state.h"
#include "tests/common/modal_helpers.h"

class AppTestEnv {
 public:
  AppTestEnv() {
    TqelState::SetStorageOverride(dir.filePath("user.conf"), dir.filePath("vornix.ini"));
    State().Clear();
    TqelMsgDlg::SetAnswerer([this](const TMsgRequest& request) { return Answer(request); });
    SetErrorSink([this](const QString& text) { errors << text; });
  }
  ~AppTestEnv() {
    TqelMsgDlg::SetAnswerer(nullptr);
    SetErrorSink(nullptr);
  }
  AppTestEnv(const AppTestEnv&) = delete;
  AppTestEnv& operator=(const AppTestEnv&) = delete;

  // A window with the password prompt answered from `passwords` (nullopt:
  // the prompt is cancelled).
  std::unique_ptr<TfrmMain> MakeWindow() {
    auto window = std::make_unique<TfrmMain>();
    window->SetOpenPasswordPrompt([this](QString& password) {
      ++prompts;
      if (passwords.empty() || !passwords.front()) {
        if (!passwords.empty()) passwords.pop_front();
        return int(mrCancel);
      }
      password = *passwords.front();
      passwords.pop_front();
      return int(mrOk);
    });
    return window;
  }

  QString Path(const QString& name) const { return dir.filePath(name); }

  // Destroys a window without its save question, then lets the dialogs it
  // released finish, so their settings are saved before the next test.
  static void DiscardWindow(std::unique_ptr<TfrmMain>& window) {
    window->SetModified(false);
    window.reset();
    modal::FlushDeferredDeletes();
  }

  QTemporaryDir dir;
  // Answers for the message service, in order: int modal results for
  // boxes, QString for file and input dialogs, a null QVariant to cancel.
  std::deque<QVariant> answers;
  QList<TMsgRequest> requests;
  // Requests that found no answer queued.
  QList<TMsgRequest> unexpected;
  std::deque<std::optional<QString>> passwords;
  int prompts = 0;
  QStringList errors;
  // Most tests save archives without a password on purpose: the question
  // before such a save is answered "Save without password", unrecorded,
  // unless a test takes it on.
  bool answerPlainSaves = true;

 private:
  QVariant Answer(const TMsgRequest& request) {
    if (answerPlainSaves && request.kind == TMsgRequest::Choice &&
        request.buttons.contains(kSavePlainAnswer)) {
      return QVariant(int(kPlainSave));
    }
    requests << request;
    if (answers.empty()) {
      unexpected << request;
      return request.kind == TMsgRequest::Question ? QVariant(int(mrNo)) : QVariant();
    }
    QVariant answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// The text of an archive's member "Data" as site lines with CR LF.
inline std::string SiteText(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

inline void WriteArchiveFile(const QString& path, const std::string& password,
                             const std::string& text) {
  SaveDataArchive(QFile::encodeName(path).toStdString(), password, text);
}

// Writes an archive with a stored (not deflated) member.
inline void WriteStoredArchive(const QString& path, const std::string& password,
                               const std::string& text) {
  TZipWriter writer;
  writer.CompressionMethodToUse = TCompressionMethodToUse::smStored;
  writer.SetPassword(password);
  writer.SetFileName(QFile::encodeName(path).toStdString());
  TMemoryStream data(text);
  writer.AddFromStream("Data", data);
  writer.CloseArchive();
}

struct TExtracted {
  bool failed = false;  // the reader reported the member's failure
  std::string bytes;    // what it wrote meanwhile
};

// Extracts "Data" with a password as the engine's reader does.
inline TExtracted ExtractData(const QString& path, const std::string& password) {
  TZipReader reader;
  TExtracted extracted;
  reader.OnProcessItemFailure = [&extracted](TZipComponent&, const TZipItem&, int, int, int) {
    extracted.failed = true;
  };
  reader.SetPassword(password);
  reader.SetFileName(QFile::encodeName(path).toStdString());
  TMemoryStream out;
  reader.ExtractToStream("Data", out);
  reader.CloseArchive();
  extracted.bytes = out.Bytes();
  return extracted;
}

// Extracts "Data" with a password; nullopt when extraction failed.
inline std::optional<std::string> ReadDataMember(const QString& path, const std::string& password) {
  TExtracted extracted = ExtractData(path, password);
  if (extracted.failed) return std::nullopt;
  return std::move(extracted.bytes);
}

inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The texts of the window's site list, top to bottom.
inline QStringList SiteNames(TfrmMain& window) {
  QStringList names;
  auto* list = window.findChild<TSiteListBox*>("lbxSiteList");
  for (int i = 0; list && i < list->Count(); ++i) names << list->Text(i);
  return names;
}

// The paths of the Reopen submenu, top to bottom.
inline QStringList ReopenPaths(TfrmMain& window) {
  QStringList paths;
  for (QAction* entry : window.findChild<QMenu*>("mmiReopen")->actions())
    paths << ReopenActionPath(entry);
  return paths;
}

// Answers the next site editor: sets the site name and presses OK, or
// cancels when site is nullopt.
inline void AnswerSiteEditor(std::optional<QString> site, QString* shownSite = nullptr) {
  modal::WhenModal(QStringLiteral("TfrmSite"), [site, shownSite](QWidget* dialog) {
    if (shownSite) *shownSite = modal::Text(dialog, "edtSite");
    if (!site) {
      modal::Click(dialog, "btnCancel");
      return;
    }
    modal::SetText(dialog, "edtSite", *site);
    modal::Click(dialog, "btnOK");
  });
}

inline void AddSiteThroughEditor(TfrmMain& window, const QString& site) {
  AnswerSiteEditor(site);
  window.findChild<QAction*>("mmiAdd")->trigger();
}
