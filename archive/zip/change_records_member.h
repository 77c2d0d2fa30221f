#pragma once
// The archive member that holds the site list's change records beside
// "Data", encrypted with the same password and scheme.

#include <optional>
#include <string>

#include "archive/crypto/zip_encryption.h"
#include "core/change_records.h"

inline constexpr char kChangeRecordsMember[] = "Data.changes";

// Only AES archives carry records: under the traditional cipher every member
// shares one set of keys, and a member whose content can be guessed would
// give those keys, and so "Data", away.
bool CarriesChangeRecords(TEncryption encryption, const std::string& password);

// The member's text for records that describe `data`.
std::string ChangeRecordsText(TChangeRecords records, const std::string& data);

// The records in the member's text when they describe `data` (its CRC-32
// and size); nullopt for anything else, as when another program saved
// "Data" and copied the member unchanged.
std::optional<TChangeRecords> ChangeRecordsFor(const std::string& text, const std::string& data);
