// Saving by itself: before an automatic lock ("Save before locking") and
// after every change ("Save after every change"). Both save only an archive
// that has a file; one without still waits for the user.

#include <QApplication>
#include <QTimer>

#include "app/error_display.h"
#include "app/main_window.h"
#include "archive/archive_session.h"
#include "support/options.h"

// The lock cannot happen while a dialog is open or the archive has no
// file or no password; the lock's own check says why it waits then.
bool TfrmMain::SaveBeforeAutoLock() {
  if (!IsModified() || !SaveBeforeLock() || FSession->Password().empty() || ArchivePath().isEmpty() ||
      QApplication::activeModalWidget() || FReader)
    return true;
  RunGuarded([this] { mmiFileSaveClick(); });
  return !IsModified();
}

// After the command that made the change has finished, so that a save
// never runs in the middle of one.
void TfrmMain::SaveChangeSoon() {
  if (!SaveAfterEveryChange()) return;
  QTimer::singleShot(0, this, [this] {
    if (!IsModified() || FLocked || ArchivePath().isEmpty() ||
        QApplication::activeModalWidget() || FReader)
      return;
    RunGuarded([this] { mmiFileSaveClick(); });
  });
}
