#include "archive/zip/site_list_member.h"

#include "archive/archive_errors.h"
#include "archive/zip/zip_archive.h"
#include "archive/zip/zip_records.h"

namespace {

std::string TooLargeText(const std::string& name, const std::string& action,
                         std::uint64_t size, const std::string& limit) {
  const std::string what =
      SameMemberName(name, kSiteListMember) ? "The site list" : "The member " + name;
  return what + " is too large" + action + " (" + std::to_string(size) + " bytes" + limit + ")";
}

}  // namespace

void CheckSiteListSize(const TZipDirectoryEntry& entry) {
  if (entry.UncompressedSize > kMaxSiteListSize) {
    throw ESiteListTooLarge(TooLargeText(kSiteListMember, "", entry.UncompressedSize, ""));
  }
}

void CheckMemberSizeToWrite(const std::string& name, std::uint64_t size) {
  if (size > kMaxSiteListSize) {
    throw EMemberTooLarge(
        TooLargeText(name, " to save", size, ", at most " + std::to_string(kMaxSiteListSize)));
  }
}
