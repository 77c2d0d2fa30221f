#pragma once
// The archive member that holds the site list, and how large it and any
// other member Vornix writes may be.

#include <cstdint>
#include <string>

struct TZipDirectoryEntry;

inline constexpr char kSiteListMember[] = "Data";

// A site list of 100,000 sites is a few megabytes; a member declaring more
// than this is refused before anything is inflated, and nothing larger is
// ever saved, so that every file Vornix writes can be read again.
inline constexpr std::uint64_t kMaxSiteListSize = 256u << 20;

// Throws ESiteListTooLarge("The site list is too large (N bytes)") when the
// entry declares more than kMaxSiteListSize.
void CheckSiteListSize(const TZipDirectoryEntry& entry);

// Throws EMemberTooLarge("The site list is too large to save (N bytes, at
// most 268435456)"; another member is named: "The member X is too large...")
// when `size` bytes of the member `name` exceed kMaxSiteListSize.
void CheckMemberSizeToWrite(const std::string& name, std::uint64_t size);
