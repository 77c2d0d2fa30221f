#pragma once
// The archive member that holds the site list, and how large it may be.

#include <cstdint>
#include <string>

struct TZipDirectoryEntry;

inline constexpr char kSiteListMember[] = "Data";

// A site list of 100,000 sites is a few megabytes; a member declaring more
// than this is refused before anything is inflated.
inline constexpr std::uint64_t kMaxSiteListSize = 256u << 20;

// Throws ESiteListTooLarge("The site list is too large (N bytes)") when the
// entry declares more than kMaxSiteListSize.
void CheckSiteListSize(const TZipDirectoryEntry& entry);
