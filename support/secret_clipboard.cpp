#include "support/secret_clipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

#include "support/options.h"

namespace {

// The format clipboard managers read to leave a password out of their
// history.
const char kHintFormat[] = "x-kde-passwordManagerHint";
const char kHintSecret[] = "secret";

class TTimerTicker : public TSecondTicker {
 public:
  TTimerTicker() { timer_.setInterval(1000); }
  void Start(std::function<void()> tick) override {
    QObject::disconnect(&timer_, &QTimer::timeout, nullptr, nullptr);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(tick));
    timer_.start();
  }
  void Stop() override { timer_.stop(); }

 private:
  QTimer timer_;
};

}  // namespace

TSecretClipboard::TSecretClipboard(QObject* parent)
    : QObject(parent), FTicker(std::make_unique<TTimerTicker>()) {
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          &TSecretClipboard::ClipboardChanged);
}

TSecretClipboard::~TSecretClipboard() { Forget(); }

void TSecretClipboard::SetTicker(std::unique_ptr<TSecondTicker> ticker) {
  FTicker->Stop();
  FTicker = std::move(ticker);
  if (FLeft > 0) FTicker->Start([this] { Tick(); });
}

void TSecretClipboard::Copy(const QString& secret) {
  if (secret.isEmpty()) return;
  Forget();
  auto* data = new QMimeData;
  data->setText(secret);
  data->setData(kHintFormat, kHintSecret);
  FSecret = secret;
  QGuiApplication::clipboard()->setMimeData(data);  // takes the data
  FLeft = ClipboardSeconds();
  // A delay of 0 means the user keeps copied passwords, at exit too.
  if (FLeft == 0) {
    Forget();
    return;
  }
  FTicker->Start([this] { Tick(); });
  emit CountdownChanged(FLeft);
}

void TSecretClipboard::ClearIfOurs() {
  if (!FSecret.isEmpty() && QGuiApplication::clipboard()->text() == FSecret) {
    QGuiApplication::clipboard()->clear();
  }
  Forget();
}

void TSecretClipboard::Tick() {
  if (FLeft <= 0) return;
  if (--FLeft == 0) {
    ClearIfOurs();
    return;
  }
  emit CountdownChanged(FLeft);
}

// Something else copied: the secret is gone from the clipboard already and
// nothing is left to clear.
void TSecretClipboard::ClipboardChanged() {
  if (FSecret.isEmpty() || QGuiApplication::clipboard()->text() == FSecret) return;
  Forget();
}

void TSecretClipboard::Forget() {
  FTicker->Stop();
  const bool wasPending = !FSecret.isEmpty();
  FSecret.fill(QChar(0));
  FSecret.clear();
  FLeft = 0;
  if (wasPending) emit CountdownChanged(0);
}

TSecretClipboard& SecretClipboard() {
  static QPointer<TSecretClipboard> instance;
  if (!instance) {
    instance = new TSecretClipboard(QCoreApplication::instance());
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, instance,
                     &TSecretClipboard::ClearIfOurs);
  }
  return *instance;
}
