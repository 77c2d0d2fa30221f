#include "app/session_lock_watch.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const char kLogindService[] = "org.freedesktop.login1";
const char kLogindPath[] = "/org/freedesktop/login1";
const char kLogindManager[] = "org.freedesktop.login1.Manager";
const char kLogindSession[] = "org.freedesktop.login1.Session";

struct ScreenSaver {
  const char* path;
  const char* interface;
};
// Desktops publish the freedesktop interface under either path.
constexpr ScreenSaver kScreenSavers[] = {
    {"/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"},
    {"/ScreenSaver", "org.freedesktop.ScreenSaver"},
    {"/org/gnome/ScreenSaver", "org.gnome.ScreenSaver"},
};

}  // namespace

TSessionLockWatch::TSessionLockWatch(QObject* parent) : QObject(parent) {
  WatchScreenSavers();
  WatchLogindSession();
}

void TSessionLockWatch::WatchScreenSavers() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  // Any sender: the service name differs between desktops.
  for (const ScreenSaver& saver : kScreenSavers)
    bus.connect({}, saver.path, saver.interface, "ActiveChanged", this,
                SLOT(ScreenSaverActiveChanged(bool)));
}

void TSessionLockWatch::WatchLogindSession() {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return;
  // Asked without waiting: the window must not hang on a slow bus.
  QDBusMessage call = QDBusMessage::createMethodCall(kLogindService, kLogindPath, kLogindManager,
                                                     "GetSessionByPID");
  call << static_cast<quint32>(QCoreApplication::applicationPid());
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
  connect(
      watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *finished;
        if (reply.isError()) return;  // no logind, or not in a session
        QDBusConnection system = QDBusConnection::systemBus();
        const QString path = reply.value().path();
        system.connect(kLogindService, path, kLogindSession, "Lock", this, SLOT(SessionLocked()));
        system.connect(kLogindService, path, kLogindSession, "Unlock", this,
                       SLOT(SessionUnlocked()));
      });
}

void TSessionLockWatch::SessionLocked() { emit LockChanged(true); }

void TSessionLockWatch::SessionUnlocked() { emit LockChanged(false); }

void TSessionLockWatch::ScreenSaverActiveChanged(bool active) { emit LockChanged(active); }
