#include "archive/zip/site_list_member.h"

#include "archive/archive_errors.h"
#include "archive/zip/zip_records.h"

void CheckSiteListSize(const TZipDirectoryEntry& entry) {
  if (entry.UncompressedSize > kMaxSiteListSize) {
    throw ESiteListTooLarge("The site list is too large (" +
                            std::to_string(entry.UncompressedSize) + " bytes)");
  }
}
