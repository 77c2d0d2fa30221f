#include "core/change_date.h"

#include <array>
#include <ctime>

#include "core/change_records.h"
#include "core/pw_rec.h"

TChangeDateFn NoChangeDates() {
  return [](const TqelPwRec&) { return std::optional<TChangeTime>(); };
}

TChangeDateFn ChangeDatesFrom(const std::optional<TChangeRecords>& records) {
  if (!records) return NoChangeDates();
  return [records = *records](const TqelPwRec& rec) -> std::optional<TChangeTime> {
    const auto found = records.lines.find(LineFingerprint(rec.Line()));
    if (found == records.lines.end() || found->second.changed <= 0) return std::nullopt;
    return std::chrono::system_clock::from_time_t(static_cast<std::time_t>(found->second.changed));
  };
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
