#include "archive/zip/zip_records.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "archive/archive_errors.h"

namespace {

constexpr std::int64_t kFirstWindow = 512;
constexpr std::int64_t kWindowLimit = 65536;
constexpr std::int64_t kWindowOverlap = 4;

// Reads a fixed part of a record; running out of file means the file is not
// what its records claim, which the user sees as "not a PKZip file".
void ReadRecordBytes(TStream& stream, void* buffer, std::size_t count) {
  if (stream.Read(buffer, count) != count) ThrowZipError(TZipErrorCode::NotZip);
}

// Counted bytes kept as they are: extra fields are binary blocks.
std::string ReadRaw(TStream& stream, std::size_t count) {
  std::string bytes(count, '\0');
  if (count > 0) ReadRecordBytes(stream, bytes.data(), count);
  return bytes;
}

// Names and comments are held as zero-terminated strings, so a zero byte
// cuts the text there.
std::string ReadCounted(TStream& stream, std::size_t count) {
  std::string text = ReadRaw(stream, count);
  text.resize(std::find(text.begin(), text.end(), '\0') - text.begin());
  return text;
}

void CheckSignature(const unsigned char* p, std::uint32_t expected) {
  if (GetU32(p) != expected) ThrowZipError(TZipErrorCode::NotZip);
}

std::uint16_t Field16(std::size_t size) { return static_cast<std::uint16_t>(size); }

// A local header and a directory entry share the run of fields from the
// version needed to the extra field's length, in the same layout; p is where
// the run starts. Returns the name's and the extra field's lengths.
template <typename Record>
std::pair<std::size_t, std::size_t> GetSharedFields(const unsigned char* p, Record& record) {
  record.VersionNeeded = GetU16(p);
  record.Flags = GetU16(p + 2);
  record.Method = GetU16(p + 4);
  record.Time = GetU16(p + 6);
  record.Date = GetU16(p + 8);
  record.Crc32 = GetU32(p + 10);
  record.CompressedSize = GetU32(p + 14);
  record.UncompressedSize = GetU32(p + 18);
  return {GetU16(p + 22), GetU16(p + 24)};
}

void PutSharedFields(std::string& out, const TZipDirectoryEntry& entry) {
  PutU16(out, entry.VersionNeeded);
  PutU16(out, entry.Flags);
  PutU16(out, entry.Method);
  PutU16(out, entry.Time);
  PutU16(out, entry.Date);
  PutU32(out, entry.Crc32);
  PutU32(out, entry.CompressedSize);
  PutU32(out, entry.UncompressedSize);
  PutU16(out, Field16(entry.Name.size()));
  PutU16(out, Field16(entry.Extra.size()));
}

}  // namespace

void PutU16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

std::uint16_t GetU16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t GetU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(GetU16(p)) | (static_cast<std::uint32_t>(GetU16(p + 2)) << 16);
}

TZipEndRecord ReadEndRecord(TStream& stream) {
  std::array<unsigned char, kEndRecordSize> raw{};
  ReadRecordBytes(stream, raw.data(), raw.size());
  CheckSignature(raw.data(), zip_sig::kEndRecord);
  TZipEndRecord record;
  record.DiskNumber = GetU16(&raw[4]);
  record.DirectoryDisk = GetU16(&raw[6]);
  record.EntriesOnDisk = GetU16(&raw[8]);
  record.TotalEntries = GetU16(&raw[10]);
  record.DirectorySize = GetU32(&raw[12]);
  record.DirectoryOffset = GetU32(&raw[16]);
  // A comment cut short by the end of the file is kept as far as it goes:
  // the record itself is complete and the comment is never used.
  std::string comment(GetU16(&raw[20]), '\0');
  comment.resize(stream.Read(comment.data(), comment.size()));
  record.Comment = comment.substr(0, comment.find('\0'));
  return record;
}

TZipDirectoryEntry ReadDirectoryEntry(TStream& stream) {
  std::array<unsigned char, kDirectoryEntrySize> raw{};
  ReadRecordBytes(stream, raw.data(), raw.size());
  CheckSignature(raw.data(), zip_sig::kDirectoryEntry);
  TZipDirectoryEntry entry;
  entry.VersionMadeBy = GetU16(&raw[4]);
  const auto [nameLength, extraLength] = GetSharedFields(&raw[6], entry);
  std::size_t commentLength = GetU16(&raw[32]);
  entry.DiskNumberStart = GetU16(&raw[34]);
  entry.InternalAttributes = GetU16(&raw[36]);
  entry.ExternalAttributes = GetU32(&raw[38]);
  entry.LocalHeaderOffset = GetU32(&raw[42]);
  entry.Name = ReadCounted(stream, nameLength);
  entry.Extra = ReadRaw(stream, extraLength);
  entry.Comment = ReadCounted(stream, commentLength);
  return entry;
}

TZipLocalHeader ReadLocalHeader(TStream& stream) {
  std::array<unsigned char, kLocalHeaderSize> raw{};
  ReadRecordBytes(stream, raw.data(), raw.size());
  CheckSignature(raw.data(), zip_sig::kLocalHeader);
  TZipLocalHeader header;
  const auto [nameLength, extraLength] = GetSharedFields(&raw[4], header);
  // The name is read by its counted length, so the stream ends at the
  // member data even when a zero byte cuts the text.
  header.Name = ReadCounted(stream, nameLength);
  header.Extra = ReadRaw(stream, extraLength);
  return header;
}

void WriteEndRecord(std::string& out, const TZipEndRecord& record) {
  PutU32(out, zip_sig::kEndRecord);
  PutU16(out, record.DiskNumber);
  PutU16(out, record.DirectoryDisk);
  PutU16(out, record.EntriesOnDisk);
  PutU16(out, record.TotalEntries);
  PutU32(out, record.DirectorySize);
  PutU32(out, record.DirectoryOffset);
  PutU16(out, 0);  // no comment
}

void WriteDirectoryEntry(std::string& out, const TZipDirectoryEntry& entry) {
  PutU32(out, zip_sig::kDirectoryEntry);
  PutU16(out, entry.VersionMadeBy);
  PutSharedFields(out, entry);
  PutU16(out, 0);  // comment length
  PutU16(out, entry.DiskNumberStart);
  PutU16(out, entry.InternalAttributes);
  PutU32(out, entry.ExternalAttributes);
  PutU32(out, entry.LocalHeaderOffset);
  out += entry.Name;
  out += entry.Extra;
}

void WriteLocalHeader(std::string& out, const TZipDirectoryEntry& entry) {
  PutU32(out, zip_sig::kLocalHeader);
  PutSharedFields(out, entry);
  out += entry.Name;
  out += entry.Extra;
}

void WriteDescriptor(std::string& out, const TZipDirectoryEntry& entry) {
  PutU32(out, entry.Crc32);
  PutU32(out, entry.CompressedSize);
  PutU32(out, entry.UncompressedSize);
}

namespace {

// Reads count bytes at offset; false when the file does not hold them all.
bool ReadAt(TStream& stream, std::int64_t offset, unsigned char* buffer, std::size_t count) {
  stream.SetPosition(offset);
  return stream.Read(buffer, count) == count;
}

// The comment length of a record found at offset, or -1 when unreadable.
std::int64_t CommentLengthAt(TStream& stream, std::int64_t offset) {
  std::array<unsigned char, kEndRecordSize> raw{};
  if (!ReadAt(stream, offset, raw.data(), raw.size())) return -1;
  return GetU16(&raw[20]);
}

// The highest offset in [start, end) at which the window holds the
// signature and a whole record would fit before the end of the file.
std::int64_t HighestCandidate(const std::vector<unsigned char>& window, std::int64_t start,
                              std::int64_t fileSize) {
  auto end = start + static_cast<std::int64_t>(window.size());
  auto last = std::min<std::int64_t>(end - 4, fileSize - static_cast<std::int64_t>(kEndRecordSize));
  for (std::int64_t p = last; p >= start; --p) {
    if (GetU32(&window[static_cast<std::size_t>(p - start)]) == zip_sig::kEndRecord) return p;
  }
  return -1;
}

std::int64_t SearchWindows(TStream& stream, std::int64_t fileSize) {
  std::int64_t limit = std::min(kWindowLimit, fileSize);
  std::int64_t size = kFirstWindow;
  std::int64_t end = fileSize;
  for (;;) {
    std::int64_t start = std::max<std::int64_t>(end - size, 0);
    std::vector<unsigned char> window(static_cast<std::size_t>(end - start));
    if (!ReadAt(stream, start, window.data(), window.size())) return -1;
    std::int64_t candidate = HighestCandidate(window, start, fileSize);
    if (candidate >= 0) {
      std::int64_t trailing = fileSize - candidate - static_cast<std::int64_t>(kEndRecordSize);
      std::int64_t comment = CommentLengthAt(stream, candidate);
      if (comment >= 0 && trailing >= comment) return candidate;
    }
    if (start == 0) return -1;
    if (size < limit) size = std::min(size * 2, limit);
    end = start + kWindowOverlap;
  }
}

}  // namespace

std::int64_t FindEndRecord(TStream& stream) {
  const std::int64_t entry = stream.Position();
  const std::int64_t fileSize = stream.Size();
  std::int64_t found = -1;
  if (fileSize >= static_cast<std::int64_t>(kEndRecordSize)) {
    std::int64_t quick = fileSize - static_cast<std::int64_t>(kEndRecordSize);
    std::array<unsigned char, kEndRecordSize> raw{};
    if (ReadAt(stream, quick, raw.data(), raw.size()) &&
        GetU32(raw.data()) == zip_sig::kEndRecord && GetU16(&raw[20]) == 0) {
      found = quick;
    } else {
      found = SearchWindows(stream, fileSize);
    }
  }
  stream.SetPosition(found >= 0 ? found : entry);
  return found;
}

std::uint32_t DosDateTime(const std::tm& local) {
  int year = local.tm_year + 1900;
  if (year < 1980 || year > 2107) return 0;
  auto time =
      static_cast<std::uint32_t>(local.tm_hour * 2048 + local.tm_min * 32 + local.tm_sec / 2);
  auto date =
      static_cast<std::uint32_t>((year - 1980) * 512 + (local.tm_mon + 1) * 32 + local.tm_mday);
  return (time << 16) | date;
}

std::uint32_t DosDateTimeNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DosDateTime(local);
}
