#pragma once
// What an archive file looked like when it was read, so that a later save
// can tell whether another program has changed it since.

#include <cstdint>
#include <string>

struct TFileSnapshot {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  // CRC-32 of the whole file: catches a rewrite that kept size and time.
  std::uint32_t crc = 0;

  friend bool operator==(const TFileSnapshot&, const TFileSnapshot&) = default;
};

// Opens path once and takes identity, size, time and checksum through that
// one descriptor. No file at path gives a snapshot with exists false; any
// other failure throws EFileError naming the file and the system's reason.
TFileSnapshot TakeFileSnapshot(const std::string& path);
