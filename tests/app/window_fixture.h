#pragma once
// The main window's test fixture: each test gets fresh settings, answered
// dialogs and a new window, and ends with the window discarded and no dialog
// shown that the test did not expect. Test classes derive from it, call
// StartWindow() from init() and EndWindow() from cleanup().

#include <QAction>
#include <QObject>
#include <QTest>
#include <memory>
#include <optional>

#include "app/auto_lock.h"
#include "tests/app/app_test_env.h"
#include "tests/app/fake_ticker.h"

class TWindowFixture : public QObject {
 protected:
  // Whether an error shown during the test fails it at cleanup.
  enum class TErrors { Checked, Allowed };

  void StartWindow() {
    env_ = std::make_unique<AppTestEnv>();
    window_ = env_->MakeWindow();
  }
  // The same, and the clipboard's seconds pass only through seconds_.
  void StartWindowWithClipboardClock() {
    StartWindow();
    seconds_.emplace();
  }
  void EndWindow(TErrors errors = TErrors::Checked) {
    seconds_.reset();
    AppTestEnv::DiscardWindow(window_);
    QVERIFY2(env_->unexpected.isEmpty(), "a dialog was shown that the test did not expect");
    if (errors == TErrors::Checked) {
      QVERIFY2(env_->errors.isEmpty(), qPrintable(env_->errors.join('\n')));
    }
    env_.reset();
  }

  void Trigger(const char* name) { window_->findChild<QAction*>(name)->trigger(); }

  // The window's child of that name; a test without it cannot go on.
  template <class T>
  T* Find(const char* name) {
    T* child = window_->findChild<T*>(name);
    if (!child) qFatal("no %s", name);
    return child;
  }

  // Writes an archive of text under password in the test's folder and opens
  // it as the command line would; returns its path.
  QString OpenWritten(const QString& name, const std::string& password, const std::string& text) {
    const QString path = env_->Path(name);
    WriteArchiveFile(path, password, text);
    env_->passwords.push_back(QString::fromStdString(password));
    window_->OpenCommandLineArchive({path});
    return path;
  }

  // The idle lock's clock, moved on only by the test (now_, in ms).
  void UseFakeClock() {
    now_ = 0;
    window_->AutoLock().SetClock([this] { return now_; });
  }
  // An hour without input on the fake clock, then the idle lock's check.
  void LeaveIdle() {
    now_ += 60 * 60 * 1000;
    window_->AutoLock().Check();
  }

  // The next New archive password dialog gets password, twice, and the
  // named encryption button clicked, then OK.
  void AnswerNewPassword(const QString& password, const char* encryption) {
    modal::WhenModal("TfrmSavePW", [=](QWidget* dialog) {
      modal::Click(dialog, encryption);
      modal::SetText(dialog, "edtPW", password);
      modal::SetText(dialog, "edtConfirm", password);
      modal::Click(dialog, "btnOK");
    });
  }

  // File > Open on path, the password prompt answered with password.
  void OpenArchive(const QString& path, const QString& password) {
    env_->answers.push_back(path);
    env_->passwords.push_back(password);
    Trigger("mmiFileOpen");
  }

  std::unique_ptr<AppTestEnv> env_;
  std::unique_ptr<TfrmMain> window_;
  qint64 now_ = 0;
  std::optional<TClipboardSeconds> seconds_;
};
