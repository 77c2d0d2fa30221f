#include "archive/storage/member_copy.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

#include "archive/storage/descriptor_io.h"
#include "archive/zip/site_list_member.h"
#include "archive/zip/zip_archive.h"
#include "archive/zip/zip_records.h"

namespace {

// Reads bytes it does not own, where they lie.
class TViewStream final : public TStream {
 public:
  explicit TViewStream(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    if (pos_ >= bytes_.size()) return 0;
    const std::size_t got = std::min(count, bytes_.size() - pos_);
    std::memcpy(buffer, bytes_.data() + pos_, got);
    pos_ += got;
    return got;
  }
  std::size_t Write(const void*, std::size_t) override {
    throw EStreamError("Stream write error");
  }
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
    const std::int64_t base = origin == SeekOrigin::Begin     ? 0
                              : origin == SeekOrigin::Current ? static_cast<std::int64_t>(pos_)
                                                              : Size();
    const std::int64_t target = base + offset;
    if (target < 0) throw EStreamError("Stream seek error");
    pos_ = static_cast<std::size_t>(target);
    return target;
  }
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

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

bool Named(const std::string& name, const std::vector<std::string>& names) {
  for (const std::string& other : names) {
    if (SameMemberName(name, other)) return true;
  }
  return false;
}

bool NamesNewMember(const std::string& name, const std::vector<TNewMember>& members) {
  for (const TNewMember& member : members) {
    if (SameMemberName(name, member.Entry.Name)) return true;
  }
  return false;
}

// The index of the old member a new one of this name replaces, or -1.
int ReplacedIndex(const TArchiveLayout& old, const std::string& name) {
  for (std::size_t i = old.Members.size(); i-- > 0;) {
    if (SameMemberName(old.Members[i].Name, name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

TNewMember ProduceNewMember(const std::string& name, std::string_view data,
                            const TZipMemberSettings& settings) {
  CheckMemberSizeToWrite(name, data.size());
  TViewStream source(data);
  return ProduceNewMember(name, source, settings);
}

TNewMember ProduceNewMember(const std::string& name, TStream& source,
                            const TZipMemberSettings& settings) {
  CheckMemberSizeToWrite(name, static_cast<std::uint64_t>(source.Size()));
  TNewMember member;
  TZipDirectoryEntry& entry = member.Entry;
  entry.Name = name;
  const std::uint32_t stamp = DosDateTimeNow();
  entry.Time = static_cast<std::uint16_t>(stamp >> 16);
  entry.Date = static_cast<std::uint16_t>(stamp & 0xFFFF);
  std::string bytes = ProduceMemberData(entry, source, settings);
  WriteLocalHeader(member.Record, entry);
  member.Record += bytes;
  if (entry.Flags & zip_flag::kDescriptor) WriteDescriptor(member.Record, entry);
  return member;
}

void WriteArchiveImage(int out, const TArchiveLayout* old, int oldFd,
                       const std::vector<TNewMember>& members,
                       const std::vector<std::string>& dropped, const std::string& shownPath) {
  TImageBuilder image(out, shownPath);
  std::vector<int> replaced;
  for (const TNewMember& member : members) {
    replaced.push_back(old ? ReplacedIndex(*old, member.Entry.Name) : -1);
  }
  if (old) {
    for (std::size_t i = 0; i < old->Members.size(); ++i) {
      const TRawMember& member = old->Members[i];
      const auto at = std::find(replaced.begin(), replaced.end(), static_cast<int>(i));
      if (at != replaced.end()) {
        image.AddNew(members[static_cast<std::size_t>(at - replaced.begin())]);
      } else if (!Named(member.Name, dropped) && !NamesNewMember(member.Name, members)) {
        // Shadowed older copies of a member are never read and would keep
        // an old site list (and its password) alive.
        image.AddCopy(member, oldFd);
      }
    }
  }
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (replaced[i] < 0) image.AddNew(members[i]);
  }
  image.Finish(old ? old->Comment : std::string());
}
