#include "archive/zip/zip_archive.h"

#include <sys/stat.h>

#include <algorithm>

#include "archive/zip/aes_extra.h"
#include "archive/archive_errors.h"
#include "archive/zip/zip_member_out.h"
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

void TZipArchive::Append(std::unique_ptr<TZipItem> item) {
  items_.push_back(std::move(item));
  Dirty = true;
}

void TZipArchive::Load() {
  Status = TZipStatus::Busy;
  items_.clear();
  end_ = TZipEndRecord{};
  TFileStream& file = *file_;
  fileWasEmpty_ = file.Size() == 0;
  if (fileWasEmpty_) {
    Dirty = false;
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
  Dirty = false;
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

void TZipArchive::Save() {
  if (Status == TZipStatus::Invalid) return;
  // An empty file is written as an archive without members even when
  // unchanged; a non-empty file is never rewritten unless something changed,
  // so a damaged file that showed no members is left as it is.
  if (!Dirty && !(items_.empty() && fileWasEmpty_)) return;
  if (Spanned) {
    for (auto& item : items_) {
      if (item->Action != TZipAction::Failed) item->Action = TZipAction::Unchanged;
    }
    Dirty = false;
    throw EZipError(TZipErrorCode::Unnumbered, "Cannot update an existing spanned disk set");
  }
  TZipStatus previous = Status;
  Status = TZipStatus::Busy;
  try {
    ReplaceFileContents(BuildImage());
  } catch (...) {
    if (Status == TZipStatus::Busy) Status = previous;
    throw;
  }
  FinishSave();
  fileWasEmpty_ = false;
  Status = previous;
}

std::string TZipArchive::BuildImage() {
  std::string image;
  std::string directory;
  TZipEndRecord end;
  if (Removable && file_->Size() == 0) PutU32(image, zip_sig::kRemovableMarker);
  for (auto& owned : items_) {
    TZipItem& item = *owned;
    if (item.Action == TZipAction::Failed || item.Action == TZipAction::Deleted) continue;
    if (item.Action == TZipAction::NewFromStream) {
      if (!AppendNew(image, item)) continue;
    } else {
      AppendUnchanged(image, item);
    }
    ++end.EntriesOnDisk;
    ++end.TotalEntries;
    WriteDirectoryEntry(directory, item);
  }
  end.DirectoryOffset = static_cast<std::uint32_t>(image.size());
  end.DirectorySize = static_cast<std::uint32_t>(directory.size());
  image += directory;
  WriteEndRecord(image, end);
  end_ = end;
  return image;
}

// Copies a member's compressed bytes from the old file under a local header
// re-created from its directory entry.
void TZipArchive::AppendUnchanged(std::string& image, TZipItem& item) {
  TFileStream& file = *file_;
  file.SetPosition(item.LocalHeaderOffset);
  ReadLocalHeader(file);
  std::string data(item.CompressedSize, '\0');
  if (!data.empty()) {
    // Checked before allocating a copy of a size the file cannot hold.
    if (file.Position() + static_cast<std::int64_t>(data.size()) > file.Size()) {
      ThrowZipError(TZipErrorCode::NotZip);
    }
    file.ReadExact(data.data(), data.size());
  }
  item.DiskNumberStart = 0;
  item.LocalHeaderOffset = static_cast<std::uint32_t>(image.size());
  // Other writers' extra blocks are dropped, as for every copied member;
  // an AES member keeps its own, without which it cannot be read.
  item.Extra = KeepAesExtra(item.Extra);
  item.Comment.clear();
  WriteLocalHeader(image, item);
  image += data;
  // Bit 3 promises a descriptor after the data; it is kept true here.
  if (item.Flags & zip_flag::kDescriptor) WriteDescriptor(image, item);
}

// Produces a new member's data; a member that fails is left out and
// reported, the rest of the archive is still written.
bool TZipArchive::AppendNew(std::string& image, TZipItem& item) {
  std::string data;
  try {
    if (item.Source == nullptr) throw EStreamError(ZipErrorMessage(TZipErrorCode::InvalidStream));
    std::uint32_t stamp = DosDateTimeNow();
    item.Time = static_cast<std::uint16_t>(stamp >> 16);
    item.Date = static_cast<std::uint16_t>(stamp & 0xFFFF);
    data = ProduceMemberData(
        item, *item.Source,
        TZipMemberSettings{Password, CompressionMethodToUse, DeflationOption, Encryption, {}});
  } catch (const std::exception&) {
    item.Action = TZipAction::Deleted;
    if (OnItemFailure) OnItemFailure(item, TItemProcess::Add, {TItemErrorClass::FileOpen});
    return false;
  }
  item.DiskNumberStart = 0;
  item.LocalHeaderOffset = static_cast<std::uint32_t>(image.size());
  WriteLocalHeader(image, item);
  image += data;
  // Traditional encryption sets bit 3 and so promises a descriptor; AES
  // members carry none.
  if (item.Flags & zip_flag::kDescriptor) WriteDescriptor(image, item);
  return true;
}

void TZipArchive::ReplaceFileContents(const std::string& image) {
  file_.reset();
  try {
    file_ = std::make_unique<TFileStream>(path_, TFileStream::Mode::ReadWrite);
  } catch (const EStreamError&) {
    ReopenForReading();
    throw;
  }
  try {
    file_->Truncate(0);
    file_->SetPosition(0);
    file_->WriteExact(image.data(), image.size());
  } catch (const EStreamError&) {
    ThrowZipError(TZipErrorCode::InvalidStream);
  }
}

// Keeps the archive usable after the file could not be reopened for writing;
// without any file it can only be freed.
void TZipArchive::ReopenForReading() {
  try {
    file_ = std::make_unique<TFileStream>(path_, TFileStream::Mode::Read);
  } catch (const EStreamError&) {
    Status = TZipStatus::Invalid;
  }
}

void TZipArchive::FinishSave() {
  items_.erase(std::remove_if(items_.begin(), items_.end(),
                              [](const auto& item) { return item->Action == TZipAction::Deleted; }),
               items_.end());
  for (auto& item : items_) {
    if (item->Action != TZipAction::Failed) {
      item->Action = TZipAction::Unchanged;
      item->Source = nullptr;
    }
  }
  Dirty = false;
}
