#pragma once
// When the window locks by itself: after the idle minutes of the options
// without keyboard or mouse input to the program, or while the desktop's
// session is locked. A lock that is due waits while something would be lost
// or interrupted (the window says what), and happens at the first check
// after that ends, if it is still due. Unsaved changes can be saved first.

#include <QObject>
#include <QString>
#include <functional>

class QTimer;

class TAutoLock : public QObject {
  Q_OBJECT
 public:
  struct Hooks {
    std::function<bool()> canLock;                    // there is something to lock
    std::function<QString()> blocker;                 // why a lock must wait, or empty
    std::function<void()> lock;                       // locks the window
    std::function<void(const QString&)> showWaiting;  // empty: not waiting
  };
  // Milliseconds from any fixed point; tests give a clock of their own.
  using Clock = std::function<qint64()>;

  explicit TAutoLock(Hooks hooks, QObject* parent = nullptr);
  ~TAutoLock() override;

  void SetClock(Clock clock);
  // Runs before a due lock, to save what would make it wait; returns false
  // when that failed. A failed save is not tried again until the user has
  // been back, so its message is shown once.
  void SetSaveFirst(std::function<bool()> saveFirst);
  // Counts from now, as if input had just arrived: after a lock, an unlock
  // or a change of clock.
  void Restart();
  // The session watch reports the desktop's lock.
  void SetSessionLocked(bool locked);
  // Locks when due and possible; the timer calls it every second.
  void Check();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Due() const;

  Hooks FHooks;
  Clock FClock;
  qint64 FLastInput = 0;
  bool FSessionLocked = false;
  QString FWaiting;
  std::function<bool()> FSaveFirst;
  bool FSaveFailed = false;
  QTimer* FTimer;
};
