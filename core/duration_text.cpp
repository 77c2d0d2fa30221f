#include "core/duration_text.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kMinute = 60;
constexpr double kHour = 60 * kMinute;
constexpr double kDay = 24 * kHour;
constexpr double kYear = 365.25 * kDay;
constexpr double kMonth = kYear / 12;

struct TUnit {
  double seconds;  // the unit's length
  double below;    // used for times shorter than this
  const char* singular;
  const char* plural;
};

// Each unit until the next one reads better; rounding may give "60 minutes"
// just below the hour, which reads fine.
constexpr std::array<TUnit, 6> kUnits = {{
    {1, kMinute, "second", "seconds"},
    {kMinute, kHour, "minute", "minutes"},
    {kHour, kDay, "hour", "hours"},
    {kDay, kMonth, "day", "days"},
    {kMonth, kYear, "month", "months"},
    {kYear, 100 * kYear, "year", "years"},
}};

constexpr double kCenturiesBelow = 1000 * kYear;
constexpr double kMillionYears = 1e6 * kYear;

// 1234567 -> "1,234,567".
std::string Grouped(long long value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  grouped.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

// Two significant figures: 45,678 -> 46,000.
long long TwoFigures(double value) {
  const double scale = std::pow(10.0, std::floor(std::log10(value)) - 1);
  return static_cast<long long>(std::round(value / scale) * scale);
}

}  // namespace

std::string HumanDuration(double seconds) {
  if (!(seconds >= 1)) return "less than a second";  // NaN too
  for (const TUnit& unit : kUnits) {
    if (seconds >= unit.below) continue;
    const auto count = std::max(1LL, std::llround(seconds / unit.seconds));
    return std::to_string(count) + " " + (count == 1 ? unit.singular : unit.plural);
  }
  if (seconds < kCenturiesBelow) return "centuries";
  if (seconds < kMillionYears) return Grouped(TwoFigures(seconds / kYear)) + " years";
  return "more than a million years";
}
