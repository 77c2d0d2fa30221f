#include "core/change_date.h"

#include <array>
#include <ctime>

TChangeDateFn NoChangeDates() {
  return [](const TqelPwRec&) { return std::optional<TChangeTime>(); };
}

std::string ChangeDateText(const std::optional<TChangeTime>& when) {
  if (!when) return kUnknownDate;
  const std::time_t seconds = std::chrono::system_clock::to_time_t(*when);
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return kUnknownDate;
  std::array<char, 32> text{};
  const std::size_t size = std::strftime(text.data(), text.size(), "%Y-%m-%d", &local);
  return size > 0 ? std::string(text.data(), size) : std::string(kUnknownDate);
}
