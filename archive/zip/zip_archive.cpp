#include "archive/zip/zip_archive.h"

#include <sys/stat.h>

#include "archive/archive_errors.h"
#include "core/ascii_case.h"

namespace {

std::string UpperExtension(const std::string& path) {
  auto slash = path.find_last_of('/');
  auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return AsciiUppered(path.substr(dot));
}

// The ZIP content test: a multi-part marker, or an end record.
TArchiveType ZipContentType(const std::string& path) {
  try {
    TFileStream file(path, TFileStream::Mode::Read);
    unsigned char head[4] = {};
    if (file.Read(head, 4) == 4) {
      std::uint32_t marker = GetU32(head);
      if (marker == zip_sig::kSpanMarker || marker == zip_sig::kRemovableMarker) {
        return TArchiveType::MultiPart;
      }
    }
    file.SetPosition(0);
    return FindEndRecord(file) >= 0 ? TArchiveType::Zip : TArchiveType::None;
  } catch (const EStreamError&) {
    return TArchiveType::None;
  }
}

std::int64_t FileSizeOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return -1;
  return st.st_size;
}

}  // namespace

bool HasArchiveExtension(const std::string& path) { return UpperExtension(path) == ".ZIP"; }

TArchiveType ArchiveType(const std::string& path) {
  if (!HasArchiveExtension(path)) return TArchiveType::None;
  // A file that does not exist or is empty is typed by its extension alone.
  if (FileSizeOf(path) <= 0) return TArchiveType::Zip;
  return ZipContentType(path);
}

bool SameMemberName(const std::string& a, const std::string& b) {
  // Only ASCII letters fold; other bytes of UTF-8 names compare as is.
  return EqualsAsciiNoCase(a, b);
}

TZipArchive::TZipArchive(const std::string& path, OpenMode mode) : path_(path) {
  if (path.empty() || path.front() != '/')
    throw EZipError(TZipErrorCode::Unnumbered, "Full Path Required");
  file_ = std::make_unique<TFileStream>(
      path, mode == OpenMode::CreateNew ? TFileStream::Mode::Create : TFileStream::Mode::Read);
  fileWasEmpty_ = mode == OpenMode::CreateNew;
}

int TZipArchive::FindItem(const std::string& name) const {
  for (std::size_t i = items_.size(); i-- > 0;) {
    if (items_[i]->Action != TZipAction::Deleted && SameMemberName(items_[i]->Name, name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void TZipArchive::Load() {
  Status = TZipStatus::Busy;
  items_.clear();
  end_ = TZipEndRecord{};
  TFileStream& file = *file_;
  fileWasEmpty_ = file.Size() == 0;
  if (fileWasEmpty_) {
    Status = TZipStatus::Idle;
    return;
  }
  unsigned char head[4] = {};
  file.SetPosition(0);
  bool startsWithPk = file.Read(head, 4) == 4 && head[0] == 'P' && head[1] == 'K';
  file.SetPosition(0);
  std::int64_t endOffset = FindEndRecord(file);
  if (endOffset < 0) {
    Status = TZipStatus::Invalid;
    // A "PK" file without an end record would be one part of a multi-part
    // set, whose other parts are not there.
    ThrowZipError(startsWithPk ? TZipErrorCode::FileNotFound : TZipErrorCode::NotZip);
  }
  end_ = ReadEndRecord(file);
  Spanned = end_.DiskNumber != 0;
  // A directory said to start after its own end record is damaged.
  if (end_.DirectoryOffset > endOffset) {
    Status = TZipStatus::Invalid;
    ThrowZipError(TZipErrorCode::NotZip);
  }
  ReadDirectory(endOffset);
  Status = TZipStatus::Idle;
}

void TZipArchive::ReadDirectory(std::int64_t endOffset) {
  TFileStream& file = *file_;
  file.SetPosition(end_.DirectoryOffset);
  // Every entry takes at least 46 bytes and the position only moves forward,
  // so the loop ends and the list cannot outgrow the file.
  while (file.Position() < endOffset) {
    auto item = std::make_unique<TZipItem>();
    static_cast<TZipDirectoryEntry&>(*item) = ReadDirectoryEntry(file);
    item->Action = TZipAction::Unchanged;
    items_.push_back(std::move(item));
  }
}
