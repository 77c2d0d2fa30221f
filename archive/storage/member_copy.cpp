#include "archive/storage/member_copy.h"

#include <cerrno>
#include <cstdint>
#include <limits>

#include "archive/storage/descriptor_io.h"
#include "archive/zip/site_list_member.h"
#include "archive/zip/zip_archive.h"
#include "archive/zip/zip_records.h"

namespace {

// Keeps the offsets the records hold: every one is 32 bits wide.
class TImageOutput {
 public:
  TImageOutput(int fd, const std::string& shownPath) : fd_(fd), shownPath_(shownPath) {}

  std::uint32_t Offset() const { return static_cast<std::uint32_t>(offset_); }
  void Write(const std::string& bytes) {
    Advance(bytes.size());
    WriteAll(fd_, bytes, shownPath_);
  }
  void Copy(int from, std::uint64_t offset, std::uint64_t count) {
    Advance(count);
    CopyRange(from, offset, count, fd_, shownPath_);
  }

 private:
  void Advance(std::uint64_t count) {
    offset_ += count;
    if (offset_ > std::numeric_limits<std::uint32_t>::max()) {
      ThrowFileError("Cannot write file", shownPath_, EFBIG);
    }
  }

  int fd_;
  const std::string& shownPath_;
  std::uint64_t offset_ = 0;
};

class TImageBuilder {
 public:
  TImageBuilder(int out, const std::string& shownPath) : out_(out, shownPath) {}

  void AddNew(const TNewMember& member) {
    TZipDirectoryEntry entry = member.Entry;
    entry.LocalHeaderOffset = out_.Offset();
    out_.Write(member.Record);
    WriteDirectoryEntry(directory_, entry);
    ++count_;
  }

  void AddCopy(const TRawMember& member, int oldFd) {
    std::string entry = member.DirectoryEntry;
    std::string offset;
    PutU32(offset, out_.Offset());
    entry.replace(kEntryLocalOffsetField, offset.size(), offset);
    out_.Copy(oldFd, member.RecordOffset, member.RecordLength);
    directory_ += entry;
    ++count_;
  }

  void Finish(const std::string& comment) {
    TZipEndRecord end;
    end.EntriesOnDisk = end.TotalEntries = static_cast<std::uint16_t>(count_);
    end.DirectoryOffset = out_.Offset();
    end.DirectorySize = static_cast<std::uint32_t>(directory_.size());
    std::string tail = directory_;
    WriteEndRecord(tail, end);
    // The record is written with an empty comment; the old comment goes in
    // its place, length field last.
    tail.resize(tail.size() - 2);
    PutU16(tail, static_cast<std::uint16_t>(comment.size()));
    tail += comment;
    out_.Write(tail);
  }

 private:
  TImageOutput out_;
  std::string directory_;
  std::size_t count_ = 0;
};

// The index of the old member the new "Data" replaces, or -1.
int ReplacedIndex(const TArchiveLayout& old) {
  for (std::size_t i = old.Members.size(); i-- > 0;) {
    if (SameMemberName(old.Members[i].Name, kSiteListMember)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

TNewMember ProduceMember(const std::string& name, const std::string& data,
                         const TZipMemberSettings& settings) {
  CheckMemberSizeToWrite(name, data.size());
  TNewMember member;
  TZipDirectoryEntry& entry = member.Entry;
  entry.Name = name;
  const std::uint32_t stamp = DosDateTimeNow();
  entry.Time = static_cast<std::uint16_t>(stamp >> 16);
  entry.Date = static_cast<std::uint16_t>(stamp & 0xFFFF);
  TMemoryStream source(data);
  std::string bytes = ProduceMemberData(entry, source, settings);
  WriteLocalHeader(member.Record, entry);
  member.Record += bytes;
  if (entry.Flags & zip_flag::kDescriptor) WriteDescriptor(member.Record, entry);
  return member;
}

TNewMember ProduceDataMember(const std::string& data, const TZipMemberSettings& settings) {
  return ProduceMember(kSiteListMember, data, settings);
}

void WriteArchiveImage(int out, const TArchiveLayout* old, int oldFd, const TNewMember& data,
                       const std::string& shownPath) {
  TImageBuilder image(out, shownPath);
  const int replaced = old ? ReplacedIndex(*old) : -1;
  if (old) {
    for (std::size_t i = 0; i < old->Members.size(); ++i) {
      const TRawMember& member = old->Members[i];
      if (static_cast<int>(i) == replaced) {
        image.AddNew(data);
      } else if (!SameMemberName(member.Name, kSiteListMember)) {
        // Shadowed older copies of "Data" are never read and would keep an
        // old site list (and its password) alive.
        image.AddCopy(member, oldFd);
      }
    }
  }
  if (replaced < 0) image.AddNew(data);
  image.Finish(old ? old->Comment : std::string());
}
