#pragma once
// Saving a site list together with its change records.

#include <optional>
#include <string>

#include "archive/storage/safe_save.h"
#include "core/change_records.h"

// Saves `data` as "Data" and, where the archive carries them
// (CarriesChangeRecords), the records as their member beside it; an
// archive that carries none loses any old records member. Throws as
// SaveArchiveMembers.
TSaveWarnings SaveVault(const std::string& path, const std::string& data,
               const std::optional<TChangeRecords>& records, const TSaveOptions& options);

// The records for a save that turns the site list oldData (described by
// `old`, when valid) into newData, stamped with the system clock.
TChangeRecords RecordSaveNow(const std::optional<TChangeRecords>& old, const std::string& oldData,
                             const std::string& newData);

// The system clock for a change, as StampTime gives it.
TStampTime StampNow(const std::optional<TChangeRecords>& records);
