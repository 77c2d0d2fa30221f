#pragma once
// Where a hardened member keeps its key's salt and cost: a private block of
// its extra field, in the local header and the directory entry alike.
// The block is ASCII text, never raw bytes, so no salt can ever spell a ZIP
// signature; other tools skip header IDs they do not know. It travels with
// each member (the site list and its change records carry one each), and a
// save writes it anew with the member, so no archive comment has to be kept
// in step with the members.

#include <optional>
#include <string>

#include "archive/crypto/hardened_key.h"

// "argon2id m=<KiB> t=<passes> s=<32 hex digits of the salt>".
std::string HardenedRecordText(const THardenedParams& params);

// The whole extra block (header ID kHardenedExtraId, size, text).
std::string BuildHardenedExtra(const THardenedParams& params);

struct THardenedRecord {
  // Set when the record is readable and within bounds.
  std::optional<THardenedParams> params;
  // Otherwise what is wrong with it ("the memory cost 2048 MiB is outside
  // 8 MiB to 1024 MiB").
  std::string problem;
};

// The record in a member's extra field: nullopt when there is no block of
// ours (an AES member without one is plain AES-256).
std::optional<THardenedRecord> FindHardenedRecord(const std::string& extraField);
