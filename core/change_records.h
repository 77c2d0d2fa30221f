#pragma once
// What an archive remembers of its sites' history, so that two versions of
// it can be merged: per site line when it last changed, per removed line when
// it went (a tombstone). The records name the site list they describe by its
// CRC-32 and size; they say nothing about any other site list.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Seconds since 1970-01-01 UTC.
using TStampTime = std::int64_t;

// Tombstones older than this may be dropped.
inline constexpr TStampTime kTombstoneLifetime = 365 * 24 * 60 * 60;

struct TLineStamp {
  TStampTime changed = 0;
  // The fingerprint of the line this one descends from through edits (its
  // own fingerprint when it was added as it is): two lines of one family on
  // two sides are two edits of the same site.
  std::string family;
};

struct TTombstone {
  std::string identity;  // "Site=User" as the removed line began
  std::string fingerprint;
  std::string family;
  TStampTime removed = 0;
  bool deleted = false;  // false: replaced by an edit of the same site
};

struct TChangeRecords {
  std::uint32_t dataCrc = 0;
  std::uint64_t dataSize = 0;
  std::map<std::string, TLineStamp> lines;  // by line fingerprint
  std::vector<TTombstone> tombstones;
};

// Tells lines apart without holding them (a tombstone outlives its password).
std::string LineFingerprint(std::string_view line);

// "Site=User" of a line: what its identity is made of.
std::string LineIdentity(std::string_view line);

std::string FormatChangeRecords(const TChangeRecords& records);
// nullopt when the text is not records this program wrote.
std::optional<TChangeRecords> ParseChangeRecords(std::string_view text);

// The newest time the records hold.
TStampTime NewestStamp(const TChangeRecords& records);

// A time for a new change: the clock, but never before what the records
// hold already, so that a clock running behind cannot make a change older
// than the one it replaces.
TStampTime StampTime(const TChangeRecords& records, TStampTime clock);

// The records for a save that turns oldLines into newLines at `now`. `old`
// holds the records of oldLines, when there were valid ones; lines without
// a stamp count as changed at time 0. Lines that went get tombstones (a
// deletion, or an edit when the same site gained a line in the same save),
// and tombstones older than kTombstoneLifetime are dropped. CRC and size
// are left for the writer.
TChangeRecords RecordSave(const std::optional<TChangeRecords>& old,
                          const std::vector<std::string>& oldLines,
                          const std::vector<std::string>& newLines, TStampTime now);
// The same for lines seen in place; their order and repeats do not matter.
TChangeRecords RecordSaveInPlace(const std::optional<TChangeRecords>& old,
                          const std::vector<std::string_view>& oldLines,
                          const std::vector<std::string_view>& newLines, TStampTime now);
