#pragma once
// Merging two versions of one vault: every site either side added is kept,
// of a site both hold the newer version wins, a site whose tombstone is newer
// than the other side's version goes, and a site edited after the other side
// deleted it stays. When both sides edited a site the newer edit wins and the
// site is named among the conflicts.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/change_records.h"

struct TVaultVersion {
  std::vector<std::string> lines;
  // Only records that describe these lines.
  std::optional<TChangeRecords> records;
  // The DOS date and time of the site list member (local time, 2 s steps):
  // compared only with the other version's, for sites without records.
  std::uint32_t dataTime = 0;
};

struct TMergeOutcome {
  std::vector<std::string> lines;
  TChangeRecords records;  // CRC and size are left for the writer
  // Sites as TSiteIdentity::Shown, seen from `ours`.
  std::vector<std::string> added, updated, deleted, conflicts;
  // One side had no records: sites it deleted may have come back.
  bool withoutRecords = false;

  bool Changed() const { return !added.empty() || !updated.empty() || !deleted.empty(); }
};

// Merges `theirs` into `ours` at `now` (a time from StampTime). Ties go to ours.
TMergeOutcome MergeVersions(const TVaultVersion& ours, const TVaultVersion& theirs,
                            TStampTime now);
