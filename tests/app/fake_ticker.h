#pragma once
// A clipboard ticker whose seconds pass only when the test calls the tick.

#include <functional>

#include "support/secret_clipboard.h"

class FakeTicker : public TSecondTicker {
 public:
  explicit FakeTicker(std::function<void()>* tick) : tick_(tick) {}
  void Start(std::function<void()> tick) override { *tick_ = std::move(tick); }
  void Stop() override { *tick_ = nullptr; }

 private:
  std::function<void()>* tick_;
};
