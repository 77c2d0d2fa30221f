#pragma once
// The fixed records of a ZIP file (end record, directory entry, local
// header, data descriptor), their little-endian byte form, the backward
// search for the end record and the DOS time stamp.

#include <cstdint>
#include <ctime>
#include <string>

#include "archive/streams.h"

namespace zip_sig {
constexpr std::uint32_t kLocalHeader = 0x04034B50u;
constexpr std::uint32_t kDirectoryEntry = 0x02014B50u;
constexpr std::uint32_t kEndRecord = 0x06054B50u;
constexpr std::uint32_t kSpanMarker = 0x08074B50u;       // "PK" 07 08
constexpr std::uint32_t kRemovableMarker = 0x30304B50u;  // "PK00"
}  // namespace zip_sig

constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kDirectoryEntrySize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kDescriptorSize = 12;
constexpr std::size_t kEncryptionHeaderSize = 12;

namespace zip_flag {
constexpr std::uint16_t kEncrypted = 0x0001;
constexpr std::uint16_t kDescriptor = 0x0008;
}  // namespace zip_flag

struct TZipEndRecord {
  std::uint16_t DiskNumber = 0;
  std::uint16_t DirectoryDisk = 0;
  std::uint16_t EntriesOnDisk = 0;
  std::uint16_t TotalEntries = 0;
  std::uint32_t DirectorySize = 0;
  std::uint32_t DirectoryOffset = 0;
  std::string Comment;
};

// The fields of one central directory entry.
struct TZipDirectoryEntry {
  std::uint16_t VersionMadeBy = 20;
  std::uint16_t VersionNeeded = 20;
  std::uint16_t Flags = 0;
  std::uint16_t Method = 8;
  std::uint16_t Time = 0;
  std::uint16_t Date = 0;
  std::uint32_t Crc32 = 0;
  std::uint32_t CompressedSize = 0;
  std::uint32_t UncompressedSize = 0;
  std::uint16_t DiskNumberStart = 0;
  std::uint16_t InternalAttributes = 0;
  std::uint32_t ExternalAttributes = 0;
  std::uint32_t LocalHeaderOffset = 0;
  std::string Name;
  // The extra field's bytes as they are (zero bytes included); written back
  // as they are, so a member written anew without one has none.
  std::string Extra;
  std::string Comment;
};

struct TZipLocalHeader {
  std::uint16_t VersionNeeded = 0;
  std::uint16_t Flags = 0;
  std::uint16_t Method = 0;
  std::uint16_t Time = 0;
  std::uint16_t Date = 0;
  std::uint32_t Crc32 = 0;
  std::uint32_t CompressedSize = 0;
  std::uint32_t UncompressedSize = 0;
  std::string Name;
  std::string Extra;  // as they are, like the directory entry's
};

// Readers take the record at the stream's position and leave the stream right
// after it. A wrong signature or a record cut short by the end of the file
// raises "Invalid file - not a PKZip file".
TZipEndRecord ReadEndRecord(TStream& stream);
TZipDirectoryEntry ReadDirectoryEntry(TStream& stream);
TZipLocalHeader ReadLocalHeader(TStream& stream);

// Writers append the record in its byte form to out.
void WriteEndRecord(std::string& out, const TZipEndRecord& record);
void WriteDirectoryEntry(std::string& out, const TZipDirectoryEntry& entry);
// The local header re-created from a directory entry, its extra field included.
void WriteLocalHeader(std::string& out, const TZipDirectoryEntry& entry);
void WriteDescriptor(std::string& out, const TZipDirectoryEntry& entry);

// Offset of the end record, with the stream left positioned at it, or -1
// with the stream back where it was.
std::int64_t FindEndRecord(TStream& stream);

// The DOS time (high 16 bits) and date (low 16 bits) of a local time; 0 when
// the year is outside 1980..2107.
std::uint32_t DosDateTime(const std::tm& local);
std::uint32_t DosDateTimeNow();

// Little-endian helpers shared by the record code.
void PutU16(std::string& out, std::uint16_t value);
void PutU32(std::string& out, std::uint32_t value);
std::uint16_t GetU16(const unsigned char* p);
std::uint32_t GetU32(const unsigned char* p);
