#pragma once
// GUI test fixtures: a settings store that lives in a temporary folder, and
// a message-dialog seam that records every request and answers it.

#include <QList>
#include <QTemporaryDir>
#include <QVariant>

#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/state.h"

// While alive, the settings store reads and writes files in a temporary
// folder and starts empty; the user's real settings are never touched.
class TTempSettings {
 public:
  TTempSettings() {
    TqelState::SetStorageOverride(dir_.filePath(QStringLiteral("user.conf")),
                                  dir_.filePath(QStringLiteral("vornix.ini")));
    State().Clear();
  }
  ~TTempSettings() {
    State().Clear();
    TqelState::SetStorageOverride({}, {});
  }
  TTempSettings(const TTempSettings&) = delete;
  TTempSettings& operator=(const TTempSettings&) = delete;

 private:
  QTemporaryDir dir_;
};

// While alive, message boxes and file dialogs are answered with answer and
// recorded in requests instead of being shown.
class TMsgRecorder {
 public:
  explicit TMsgRecorder(QVariant answer = int(mrOk)) : answer_(std::move(answer)) {
    TqelMsgDlg::SetAnswerer([this](const TMsgRequest& request) {
      requests.append(request);
      return answer_;
    });
  }
  ~TMsgRecorder() { TqelMsgDlg::SetAnswerer(nullptr); }
  TMsgRecorder(const TMsgRecorder&) = delete;
  TMsgRecorder& operator=(const TMsgRecorder&) = delete;

  QList<TMsgRequest> requests;

 private:
  QVariant answer_;
};
