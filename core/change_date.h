#pragma once
// When a site's password last changed, where the archive records it. The
// window and the report take the date through a provider, since archives
// without change records have none; the date then reads "unknown".

#include <chrono>
#include <functional>
#include <optional>
#include <string>

class TqelPwRec;

using TChangeTime = std::chrono::system_clock::time_point;
using TChangeDateFn = std::function<std::optional<TChangeTime>(const TqelPwRec&)>;

inline constexpr char kUnknownDate[] = "unknown";

struct TChangeRecords;

// A provider for archives without change records: always nullopt.
TChangeDateFn NoChangeDates();
// The time a site's line was last stamped in the records; nullopt for a
// line they do not hold (changed since the save) or stamp at time 0 (it
// came from a version without records).
TChangeDateFn ChangeDatesFrom(const std::optional<TChangeRecords>& records);
// The local date as YYYY-MM-DD, or "unknown".
std::string ChangeDateText(const std::optional<TChangeTime>& when);
