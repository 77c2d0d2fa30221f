#pragma once
// What an open archive's change records need between saves: the site list
// as last read or saved, and the records that describe it. A window keeps
// one per open archive.

#include <cstdint>
#include <optional>
#include <string>

#include "core/change_records.h"
#include "core/site_merge.h"

// A version of the vault as read from a file.
TVaultVersion VaultVersion(const std::string& data, const std::optional<TChangeRecords>& records,
                           std::uint32_t dataTime);

class TVaultHistory {
 public:
  ~TVaultHistory() { Forget(); }

  // The site list as read (`data`) with the records that describe it, when
  // valid, and the DOS time of its member.
  void Loaded(const std::string& data, std::optional<TChangeRecords> records,
              std::uint32_t dataTime);
  // Nothing known: a later save counts every site as unchanged since the
  // earliest time, so none outweighs another version's deletion.
  void Forget();

  // The records for saving `data`: what changed since the last read or save
  // is stamped now.
  TChangeRecords ForSave(const std::string& data) const;
  // `data`, as saved or merged, is described by `records` (none: saved
  // into an archive that keeps no records).
  void Adopt(const std::string& data, std::optional<TChangeRecords> records);

  // The records of the site list as last read or saved, when valid.
  const std::optional<TChangeRecords>& Records() const { return records_; }

  // The site list `data` (unsaved changes included) as one side of a merge.
  TVaultVersion Version(const std::string& data) const;

 private:
  bool known_ = false;
  std::string baseline_;
  std::optional<TChangeRecords> records_;
  std::uint32_t dataTime_ = 0;
};
