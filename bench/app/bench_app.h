#pragma once
// The application a window benchmark runs in, with its settings in a
// temporary folder so that a run never reads or changes the user's.

#include <QApplication>
#include <QTemporaryDir>

#include "support/state.h"

// Without a platform named, the window benchmarks draw offscreen; passed
// through to the application's constructor.
inline int& OffscreenUnlessNamed(int& argc) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  return argc;
}

class TBenchApp {
 public:
  TBenchApp(int& argc, char* argv[]) : app_(argc, argv) {
    TqelState::SetStorageOverride(folder_.filePath("user.conf"), folder_.filePath("vornix.ini"));
  }
  QString Folder() const { return folder_.path(); }

 private:
  QApplication app_;
  QTemporaryDir folder_;
};
