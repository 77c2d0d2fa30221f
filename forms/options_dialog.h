#pragma once
// The Options dialog: clipboard clearing, the automatic lock, the
// encryption of new archives, the number of backups a save keeps, when
// changes are saved by themselves and the site editor's password masking.

#include <QDialog>

#include "support/options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

class TfrmOptions : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmOptions(QWidget* parent = nullptr);

  void SetOptions(const TOptions& options);
  TOptions Options() const;

 private:
  void ShowEncryptionNote(int index);

  QSpinBox* speClipboardSeconds;
  QSpinBox* speIdleLockMinutes;
  QCheckBox* cbxLockWithScreenSaver;
  // Its items follow EncryptionChoices, whose order is TNewEncryption's.
  QComboBox* cmbEncryption;
  QLabel* lblEncryptionNote;
  QSpinBox* speBackups;
  QCheckBox* cbxSaveAfterEveryChange;
  QCheckBox* cbxSaveBeforeLock;
  QCheckBox* cbxHidePasswords;
};

// Shows the options; on OK copies the user's choices back. Returns mrOk or
// mrCancel.
int ExecuteOptions(TOptions& options);
