#pragma once
// The Options dialog: clipboard clearing, the automatic lock, the
// encryption of new archives and the number of backups a save keeps.

#include <QDialog>

#include "support/options.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

class TfrmOptions : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmOptions(QWidget* parent = nullptr);

  void SetOptions(const TOptions& options);
  TOptions Options() const;

 private:
  QSpinBox* speClipboardSeconds;
  QSpinBox* speIdleLockMinutes;
  QCheckBox* cbxLockWithScreenSaver;
  QComboBox* cmbEncryption;
  QSpinBox* speBackups;
};

// Shows the options; on OK copies the user's choices back. Returns mrOk or
// mrCancel.
int ExecuteOptions(TOptions& options);
