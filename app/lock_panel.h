#pragma once
// What the main window shows while it is locked: the archive's path and a
// box for its password. The panel only collects the password; the window
// decides whether it is right.

#include <QWidget>

class QLabel;
class QLineEdit;

class TLockPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TLockPanel(QWidget* parent = nullptr);

  // Shows the locked archive and an empty password box with the focus.
  void Start(const QString& archivePath);
  // After a wrong password: says so and offers the box again, emptied.
  void ShowWrongPassword();
  // Overwrites the typed password (the box keeps no copy after a try).
  void ClearPassword();

 signals:
  // The user asked to unlock with this password.
  void UnlockRequested(const QString& password);

 private:
  void Submit();

  QLabel* lblLockedPath;
  QLineEdit* edtUnlockPW;
  QLabel* lblUnlockError;
};
