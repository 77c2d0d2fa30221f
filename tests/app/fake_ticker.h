#pragma once
// A clipboard ticker whose seconds pass only when the test calls the tick.

#include <functional>
#include <memory>

#include "support/secret_clipboard.h"

class FakeTicker : public TSecondTicker {
 public:
  explicit FakeTicker(std::function<void()>* tick) : tick_(tick) {}
  void Start(std::function<void()> tick) override { *tick_ = std::move(tick); }
  void Stop() override { *tick_ = nullptr; }

 private:
  std::function<void()>* tick_;
};

// The clipboard's seconds for one test: they pass only through Pass. What
// the test left of ours on the clipboard is cleared when it ends.
class TClipboardSeconds {
 public:
  TClipboardSeconds() { SecretClipboard().SetTicker(std::make_unique<FakeTicker>(&tick_)); }
  ~TClipboardSeconds() { SecretClipboard().ClearIfOurs(); }
  TClipboardSeconds(const TClipboardSeconds&) = delete;
  TClipboardSeconds& operator=(const TClipboardSeconds&) = delete;
  void Pass(int seconds) {
    for (int i = 0; i < seconds && tick_; ++i) tick_();
  }

 private:
  std::function<void()> tick_;
};
