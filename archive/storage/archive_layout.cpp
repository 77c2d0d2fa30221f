#include "archive/storage/archive_layout.h"

#include <algorithm>
#include <array>

#include "archive/archive_errors.h"
#include "archive/storage/descriptor_io.h"
#include "archive/zip/zip_records.h"

namespace {

// A data descriptor may begin with the bytes that also mark a multi-part
// set ("PK" 07 08); it is then 16 bytes long instead of 12.
constexpr std::uint32_t kDescriptorSignature = zip_sig::kSpanMarker;
constexpr std::size_t kSignedDescriptorSize = 16;

// Read-only positioned access to the archive for the end-record search.
class TDescriptorStream final : public TStream {
 public:
  TDescriptorStream(int fd, std::uint64_t size, const std::string& shownPath)
      : fd_(fd), size_(static_cast<std::int64_t>(size)), shownPath_(shownPath) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    auto left = static_cast<std::size_t>(size_ - pos_);
    if (count > left) count = left;
    if (!ReadAt(fd_, static_cast<std::uint64_t>(pos_), buffer, count, shownPath_)) return 0;
    pos_ += static_cast<std::int64_t>(count);
    return count;
  }
  std::size_t Write(const void*, std::size_t) override { throw EStreamError("Stream write error"); }
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
    std::int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::End ? size_ : pos_;
    if (base + offset < 0 || base + offset > size_) throw EStreamError("Stream seek error");
    pos_ = base + offset;
    return pos_;
  }
  std::int64_t Size() override { return size_; }

 private:
  int fd_;
  std::int64_t size_;
  const std::string& shownPath_;
  std::int64_t pos_ = 0;
};

const unsigned char* Bytes(const std::string& text, std::size_t at) {
  return reinterpret_cast<const unsigned char*>(text.data() + at);
}

// The extent of the local record at offset, or nothing when it does not
// fit the file.
std::optional<std::uint64_t> RecordLength(int fd, std::uint64_t size, std::uint64_t offset,
                                          std::uint32_t compressedSize,
                                          const std::string& shownPath) {
  std::array<unsigned char, kLocalHeaderSize> header{};
  if (!ReadAt(fd, offset, header.data(), header.size(), shownPath)) return std::nullopt;
  if (GetU32(header.data()) != zip_sig::kLocalHeader) return std::nullopt;
  std::uint64_t end =
      offset + kLocalHeaderSize + GetU16(&header[26]) + GetU16(&header[28]) + compressedSize;
  if (GetU16(&header[6]) & zip_flag::kDescriptor) {
    std::array<unsigned char, 4> head{};
    bool signedDescriptor = ReadAt(fd, end, head.data(), head.size(), shownPath) &&
                            GetU32(head.data()) == kDescriptorSignature;
    end += signedDescriptor ? kSignedDescriptorSize : kDescriptorSize;
  }
  if (end > size) return std::nullopt;
  return end - offset;
}

// Splits the directory bytes into members; nothing when an entry is damaged.
std::optional<std::vector<TRawMember>> ReadMembers(int fd, std::uint64_t size,
                                                   const std::string& directory,
                                                   const std::string& shownPath) {
  std::vector<TRawMember> members;
  std::size_t pos = 0;
  while (pos < directory.size()) {
    if (directory.size() - pos < kDirectoryEntrySize) return std::nullopt;
    const unsigned char* entry = Bytes(directory, pos);
    if (GetU32(entry) != zip_sig::kDirectoryEntry) return std::nullopt;
    std::size_t nameLength = GetU16(entry + 28);
    std::size_t length = kDirectoryEntrySize + nameLength + GetU16(entry + 30) + GetU16(entry + 32);
    if (directory.size() - pos < length) return std::nullopt;
    TRawMember member;
    member.Name = directory.substr(pos + kDirectoryEntrySize, nameLength);
    member.DirectoryEntry = directory.substr(pos, length);
    member.RecordOffset = GetU32(entry + kEntryLocalOffsetField);
    auto recordLength = RecordLength(fd, size, member.RecordOffset, GetU32(entry + 20), shownPath);
    if (!recordLength) return std::nullopt;
    member.RecordLength = *recordLength;
    members.push_back(std::move(member));
    pos += length;
  }
  return members;
}

}  // namespace

std::optional<TArchiveLayout> ReadArchiveLayout(int fd, std::uint64_t size,
                                                const std::string& shownPath) {
  TDescriptorStream stream(fd, size, shownPath);
  std::int64_t found = FindEndRecord(stream);
  if (found < 0) return std::nullopt;
  const auto endOffset = static_cast<std::uint64_t>(found);
  std::string end(kEndRecordSize, '\0');
  if (!ReadAt(fd, endOffset, end.data(), end.size(), shownPath)) return std::nullopt;
  // Disk numbers other than 0 belong to a multi-part set, whose members
  // cannot be copied from this one file.
  if (GetU16(Bytes(end, 4)) != 0 || GetU16(Bytes(end, 6)) != 0) return std::nullopt;
  const std::uint64_t directoryOffset = GetU32(Bytes(end, 16));
  if (directoryOffset > endOffset) return std::nullopt;
  std::string directory(endOffset - directoryOffset, '\0');
  if (!ReadAt(fd, directoryOffset, directory.data(), directory.size(), shownPath)) {
    return std::nullopt;
  }
  auto members = ReadMembers(fd, size, directory, shownPath);
  if (!members) return std::nullopt;
  TArchiveLayout layout;
  layout.Members = std::move(*members);
  // A comment cut short by the end of the file is kept as far as it goes.
  const std::uint64_t commentStart = endOffset + kEndRecordSize;
  layout.Comment.resize(std::min<std::uint64_t>(GetU16(Bytes(end, 20)), size - commentStart));
  if (!ReadAt(fd, commentStart, layout.Comment.data(), layout.Comment.size(), shownPath)) {
    return std::nullopt;
  }
  return layout;
}
