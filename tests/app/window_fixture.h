#pragma once
// The main window's test fixture: each test gets fresh settings, answered
// dialogs and a new window, and ends with the window discarded and no dialog
// shown that the test did not expect. Test classes derive from it, call
// StartWindow() from init() and EndWindow() from cleanup().

#include <QAction>
#include <QObject>
#include <QTest>
#include <memory>

#include "tests/app/app_test_env.h"

class TWindowFixture : public QObject {
 protected:
  // Whether an error shown during the test fails it at cleanup.
  enum class TErrors { Checked, Allowed };

  void StartWindow() {
    env_ = std::make_unique<AppTestEnv>();
    window_ = env_->MakeWindow();
  }
  void EndWindow(TErrors errors = TErrors::Checked) {
    AppTestEnv::DiscardWindow(window_);
    QVERIFY2(env_->unexpected.isEmpty(), "a dialog was shown that the test did not expect");
    if (errors == TErrors::Checked) {
      QVERIFY2(env_->errors.isEmpty(), qPrintable(env_->errors.join('\n')));
    }
    env_.reset();
  }

  void Trigger(const char* name) { window_->findChild<QAction*>(name)->trigger(); }

  // File > Open on path, the password prompt answered with password.
  void OpenArchive(const QString& path, const QString& password) {
    env_->answers.push_back(path);
    env_->passwords.push_back(password);
    Trigger("mmiFileOpen");
  }

  std::unique_ptr<AppTestEnv> env_;
  std::unique_ptr<TfrmMain> window_;
};
