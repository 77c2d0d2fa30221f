#include "archive/storage/vault_history.h"

#include <utility>

#include "archive/storage/vault_save.h"
#include "core/pw_list.h"
#include "core/secret_wipe.h"

void TVaultHistory::Loaded(const std::string& data, std::optional<TChangeRecords> records,
                           std::uint32_t dataTime) {
  Forget();
  known_ = true;
  baseline_ = data;
  records_ = std::move(records);
  dataTime_ = dataTime;
}

void TVaultHistory::Forget() {
  WipeString(baseline_);
  known_ = false;
  records_.reset();
  dataTime_ = 0;
}

TChangeRecords TVaultHistory::ForSave(const std::string& data) const {
  // Without a known baseline every line counts as one the last read held.
  return RecordSaveNow(records_, known_ ? baseline_ : data, data);
}

void TVaultHistory::Adopt(const std::string& data, std::optional<TChangeRecords> records) {
  Loaded(data, std::move(records), dataTime_);
}

TVaultVersion VaultVersion(const std::string& data, const std::optional<TChangeRecords>& records,
                           std::uint32_t dataTime) {
  TVaultVersion version;
  TqelPwList sites;
  sites.LoadFromText(data);
  for (int i = 0; i < sites.Count(); ++i) version.lines.push_back(sites[i]);
  sites.Wipe();
  version.records = records;
  version.dataTime = dataTime;
  return version;
}

TVaultVersion TVaultHistory::Version(const std::string& data) const {
  // Sites not touched since the read are as old as the version read.
  return VaultVersion(data, ForSave(data), dataTime_);
}
