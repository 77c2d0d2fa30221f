#include "archive/storage/vault_save.h"

#include <ctime>

#include "archive/zip/change_records_member.h"
#include "archive/zip/site_list_member.h"
#include "core/pw_list.h"

TSaveWarnings SaveVault(const std::string& path, const std::string& data,
               const std::optional<TChangeRecords>& records, const TSaveOptions& options) {
  std::vector<TNamedMember> members{{kSiteListMember, data}};
  std::vector<std::string> dropped;
  std::string recordsText;  // read in place by the save, as the site list is
  if (records && CarriesChangeRecords(options.encryption, options.password.str())) {
    recordsText = ChangeRecordsText(*records, data);
    members.push_back({kChangeRecordsMember, recordsText});
  } else {
    dropped.push_back(kChangeRecordsMember);
  }
  return SaveArchiveMembers(path, members, dropped, options);
}

TStampTime StampNow(const std::optional<TChangeRecords>& records) {
  const TStampTime clock = static_cast<TStampTime>(std::time(nullptr));
  return records ? StampTime(*records, clock) : clock;
}

TChangeRecords RecordSaveNow(const std::optional<TChangeRecords>& old, const std::string& oldData,
                             const std::string& newData) {
  // Only which lines there are counts: the texts' lines are seen in place.
  return RecordSaveInPlace(old, SiteLineViews(oldData), SiteLineViews(newData), StampNow(old));
}
