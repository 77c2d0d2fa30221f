#pragma once
// A dialog test's fixture: while a test runs, the settings store lives in a
// temporary folder and message boxes are recorded and answered OK, as the
// test class asks; the dialogs a test released are deleted before the next
// one starts. Test classes derive from it, call StartDialog() from init()
// and EndDialog() from cleanup().

#include <QObject>
#include <optional>

#include "tests/common/modal_helpers.h"
#include "tests/common/test_settings.h"

class TDialogFixture : public QObject {
 protected:
  enum TNeeds { kMessages = 1, kSettings = 2 };

  void StartDialog(int needs) {
    if (needs & kSettings) settings_.emplace();
    if (needs & kMessages) messages_.emplace();
  }
  void EndDialog() {
    modal::FlushDeferredDeletes();
    messages_.reset();
    settings_.reset();
  }

  std::optional<TTempSettings> settings_;
  std::optional<TMsgRecorder> messages_;
};
