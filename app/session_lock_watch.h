#pragma once
// Tells when the desktop session locks and unlocks, as far as the desktop
// says so over D-Bus: logind's Lock and Unlock signals for this session, and
// the screen savers' ActiveChanged. Where there is no bus or no such
// service (a bare X server, a test run) it stays silent.

#include <QObject>

class TSessionLockWatch : public QObject {
  Q_OBJECT
 public:
  explicit TSessionLockWatch(QObject* parent = nullptr);

 signals:
  void LockChanged(bool locked);

 private slots:
  void SessionLocked();
  void SessionUnlocked();
  void ScreenSaverActiveChanged(bool active);

 private:
  void WatchScreenSavers();
  void WatchLogindSession();
};
