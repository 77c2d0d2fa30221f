#include "app/auto_lock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include "support/options.h"

namespace {

constexpr int kCheckIntervalMs = 1000;
constexpr qint64 kMsPerMinute = 60 * 1000;

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
      return true;
    default:
      return false;
  }
}

TAutoLock::Clock MonotonicClock() {
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  return [started] { return started->elapsed(); };
}

}  // namespace

TAutoLock::TAutoLock(Hooks hooks, QObject* parent)
    : QObject(parent),
      FHooks(std::move(hooks)),
      FClock(MonotonicClock()),
      FTimer(new QTimer(this)) {
  QCoreApplication::instance()->installEventFilter(this);
  connect(FTimer, &QTimer::timeout, this, &TAutoLock::Check);
  FTimer->start(kCheckIntervalMs);
  Restart();
}

TAutoLock::~TAutoLock() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

void TAutoLock::SetClock(Clock clock) {
  FClock = std::move(clock);
  Restart();
}

void TAutoLock::SetSaveFirst(std::function<bool()> saveFirst) { FSaveFirst = std::move(saveFirst); }

void TAutoLock::Restart() { FLastInput = FClock(); }

void TAutoLock::SetSessionLocked(bool locked) {
  FSessionLocked = locked;
  if (locked) Check();
}

bool TAutoLock::eventFilter(QObject* watched, QEvent* event) {
  if (IsUserInput(event->type())) FLastInput = FClock();
  return QObject::eventFilter(watched, event);
}

bool TAutoLock::Due() const {
  if (FSessionLocked && LockWithScreenSaver()) return true;
  const int minutes = IdleLockMinutes();
  return minutes > 0 && FClock() - FLastInput >= minutes * kMsPerMinute;
}

void TAutoLock::Check() {
  QString waiting;
  const bool due = FHooks.canLock() && Due();
  if (!due) FSaveFailed = false;
  if (due) {
    if (FSaveFirst && !FSaveFailed && !FSaveFirst()) FSaveFailed = true;
    waiting = FHooks.blocker();
    if (waiting.isEmpty()) {
      FHooks.lock();
      FSessionLocked = false;
      Restart();
    }
  }
  if (waiting != FWaiting) {
    FWaiting = waiting;
    FHooks.showWaiting(waiting);
  }
}
