#pragma once
// The raw records of an existing archive file, as a save carries them over:
// each member's central directory entry and the extent of its local record
// (local header, data and data descriptor), and the archive comment, all as
// the bytes stand in the file.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TRawMember {
  // The stored name bytes.
  std::string Name;
  // The whole central directory entry (name, extra field and comment with it).
  std::string DirectoryEntry;
  std::uint64_t RecordOffset = 0;
  std::uint64_t RecordLength = 0;
};

struct TArchiveLayout {
  std::vector<TRawMember> Members;
  std::string Comment;
};

// Reads the layout of the archive open as fd, size bytes long. Gives nothing
// for a file that is not a readable single-file ZIP archive (an empty file,
// a damaged one, one part of a multi-part set). Read errors of the system
// throw EFileError naming shownPath.
std::optional<TArchiveLayout> ReadArchiveLayout(int fd, std::uint64_t size,
                                                const std::string& shownPath);

// The offset of the member's local header inside a raw directory entry.
constexpr std::size_t kEntryLocalOffsetField = 42;
