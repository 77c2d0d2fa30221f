#pragma once
// A dialog test's fixture: message boxes are recorded and answered OK while
// a test runs, and the dialogs a test released are deleted before the next
// one starts. Test classes derive from it, call StartDialog() from init()
// and EndDialog() from cleanup().

#include <QObject>
#include <optional>

#include "tests/common/modal_helpers.h"
#include "tests/common/test_settings.h"

class TDialogFixture : public QObject {
 protected:
  void StartDialog() { messages_.emplace(); }
  void EndDialog() {
    modal::FlushDeferredDeletes();
    messages_.reset();
  }

  std::optional<TMsgRecorder> messages_;
};
