#pragma once
// Passwords, user names and one-time codes on the system clipboard. Each one carries the hint that tells
// clipboard managers to keep it out of their history, and is taken off the
// clipboard after the delay the options set and when the program quits,
// but only while the clipboard still holds exactly that text: whatever the
// user copied since is never touched.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// Seconds pass through this, so that tests step time instead of waiting.
class TSecondTicker {
 public:
  virtual ~TSecondTicker() = default;
  // Calls tick once a second until Stop.
  virtual void Start(std::function<void()> tick) = 0;
  virtual void Stop() = 0;
};

class TSecretClipboard : public QObject {
  Q_OBJECT
 public:
  explicit TSecretClipboard(QObject* parent = nullptr);
  ~TSecretClipboard() override;

  // Puts secret on the clipboard with the hint and starts the countdown.
  // An empty text leaves the clipboard as it is.
  void Copy(const QString& secret);
  // Clears the clipboard if it still holds the last secret copied.
  void ClearIfOurs();
  int SecondsLeft() const { return FLeft; }
  void SetTicker(std::unique_ptr<TSecondTicker> ticker);

 signals:
  // The seconds until the clipboard is cleared; 0 when nothing is pending.
  void CountdownChanged(int secondsLeft);

 private:
  void Tick();
  void ClipboardChanged();
  void Forget();

  QString FSecret;
  int FLeft = 0;
  std::unique_ptr<TSecondTicker> FTicker;
};

// The process-wide instance, made on first use as a child of the
// application object, which clears the clipboard through it when quitting.
TSecretClipboard& SecretClipboard();
