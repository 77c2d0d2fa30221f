#pragma once
// Taking an archive's lock for a save without freezing the window.

#include <QString>
#include <optional>
#include <string>

#include "archive/storage/archive_lock.h"

class QWidget;

// When another program holds the lock, a modal dialog (objectName
// "dlgLockWait") says what the window waits for and tries again from a
// timer, so the window keeps painting and Cancel stops the wait. Nothing is
// returned when the user stopped waiting; errors other than a held lock are
// thrown as TArchiveLock throws them.
std::optional<TArchiveLock> WaitForArchiveLock(QWidget* parent, const std::string& file,
                                               const QString& shownPath);
