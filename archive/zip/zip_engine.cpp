#include "archive/zip/zip_engine.h"

#include "archive/archive_errors.h"
#include "archive/codec/deflate_helper.h"
#include "archive/storage/archive_lock.h"
#include "archive/storage/member_copy.h"
#include "archive/storage/safe_save.h"
#include "archive/zip/zip_archive.h"
#include "archive/zip/zip_member_in.h"
#include "archive/zip/zip_member_name.h"
#include "core/secret_wipe.h"

namespace {

// Sorts a caught error into the item-failure event's class and code.
TItemFailure ClassifyCurrentError() {
  try {
    throw;
  } catch (const EZipError& e) {
    return {TItemErrorClass::Archive, e.Code()};
  } catch (const EPlInflateError&) {
    return {TItemErrorClass::StreamFormat};
  } catch (const EStreamError&) {
    return {TItemErrorClass::InputOutput};
  } catch (...) {
    return {TItemErrorClass::Other};
  }
}

bool IsZipType(TArchiveType type) { return type != TArchiveType::None; }

constexpr char kSpannedRefusal[] = "Cannot update an existing spanned disk set";

// A file that was empty and got no member is still written out, as an
// archive without members, so that the name holds a valid archive.
bool NeedsEmptyArchive(const TZipArchive& archive) {
  return archive.Status != TZipStatus::Invalid && archive.Count() == 0 && archive.FileWasEmpty();
}

// The engine has never kept backups, and must not replace a file whose
// members it cannot carry over, for nothing else would keep them.
void SaveUnderLock(const std::string& path, TArchiveLock& lock, std::vector<TNewMember> members) {
  TSaveOptions options;
  options.backups = 0;
  options.lock = &lock;
  options.refuseUnreadable = true;
  SaveNewMembers(path, std::move(members), {}, options);
}

// The new member as the archive's settings make it, or nothing when its
// data cannot be made (the stream fails, it is too large, ...).
std::vector<TNewMember> ProduceOrNothing(const TZipArchive& archive, const std::string& name,
                                         TStream& stream) {
  std::vector<TNewMember> members;
  TZipMemberSettings settings{archive.Password, archive.CompressionMethodToUse,
                              archive.DeflationOption, archive.Encryption, {}};
  try {
    members.push_back(ProduceNewMember(name, stream, settings));
  } catch (const std::exception&) {
    members.clear();
  }
  WipeString(settings.Password);
  return members;
}

}  // namespace

TZipComponent::TZipComponent() = default;
TZipComponent::~TZipComponent() {
  WipeString(password_);
  if (archive_) WipeString(archive_->Password);
}

void TZipComponent::RaiseItemFailure(const TZipItem& item, TItemProcess process,
                                     const TItemFailure& failure) {
  if (!OnProcessItemFailure) return;
  OnProcessItemFailure(*this, item, static_cast<int>(process), static_cast<int>(failure.errorClass),
                       static_cast<int>(failure.errorCode));
}

void TZipComponent::SetPassword(const std::string& password) {
  password_ = password;
  if (archive_) archive_->Password = password;
}

TZipReader::~TZipReader() = default;

void TZipReader::SetFileName(const std::string& path) {
  FreeArchive();
  fileName_ = path;
  if (path.empty() || !FileExists(path)) return;
  if (!IsZipType(ArchiveType(path))) ThrowZipError(TZipErrorCode::UnhandledType);
  auto archive = std::make_unique<TZipArchive>(path, TZipArchive::OpenMode::OpenExisting);
  archive->Password = password_;
  archive->PasswordRetries = PasswordRetries;
  archive->Load();
  archive_ = std::move(archive);
}

void TZipReader::ExtractToStream(const std::string& name, TStream& stream) {
  if (!archive_ || archive_->Status == TZipStatus::Invalid) ThrowZipError(TZipErrorCode::NoArchive);
  int index = archive_->FindItem(name);
  if (index < 0) return;
  // The event handler may extract again, close the archive or open another,
  // so the handler gets its own copy of the member and nothing of the
  // archive is used after it returns.
  const TZipItem item = archive_->Item(static_cast<std::size_t>(index));
  TZipArchive* archive = archive_.get();
  archive->Status = TZipStatus::Busy;
  bool failed = false;
  TItemFailure failure;
  try {
    ExtractMemberData(*archive, item, stream, [this](std::string& newPassword) {
      if (OnNeedPassword) OnNeedPassword(*this, newPassword);
      if (!newPassword.empty()) password_ = newPassword;
    });
  } catch (...) {
    failed = true;
    failure = ClassifyCurrentError();
  }
  archive->Status = TZipStatus::Idle;
  if (failed) RaiseItemFailure(item, TItemProcess::Extract, failure);
}

std::vector<std::string> TZipReader::MemberNames() const {
  std::vector<std::string> names;
  if (!archive_) return names;
  for (std::size_t i = 0; i < archive_->Count(); ++i) names.push_back(archive_->Item(i).Name);
  return names;
}

const TZipItem* TZipReader::FindMember(const std::string& name) const {
  if (!archive_) return nullptr;
  const int index = archive_->FindItem(name);
  return index < 0 ? nullptr : &archive_->Item(static_cast<std::size_t>(index));
}

std::string TZipReader::Comment() const { return archive_ ? archive_->EndRecord().Comment : ""; }

void TZipReader::CloseArchive() {
  if (!fileName_.empty() || archive_) SetFileName(std::string());
}

// Closing a reader writes what needs writing; failures do not matter here,
// and a lock held elsewhere means the file is being written already.
void TZipReader::FreeArchive() {
  const std::unique_ptr<TZipArchive> archive = std::move(archive_);
  if (!archive || !NeedsEmptyArchive(*archive)) return;
  try {
    if (auto lock = TArchiveLock::TryAcquire(archive->Path())) {
      SaveUnderLock(archive->Path(), *lock, {});
    }
  } catch (const std::exception&) {
  }
}

TZipWriter::~TZipWriter() = default;

void TZipWriter::SetFileName(const std::string& path) {
  if (archive_) {
    // The archive is freed even when writing it fails.
    const std::unique_ptr<TZipArchive> previous = std::move(archive_);
    fileName_.clear();
    if (NeedsEmptyArchive(*previous)) {
      TArchiveLock lock(previous->Path());
      SaveUnderLock(previous->Path(), lock, {});
    }
  }
  fileName_ = path;
  if (path.empty()) return;
  std::unique_ptr<TZipArchive> archive;
  if (FileExists(path)) {
    if (!IsZipType(ArchiveType(path))) ThrowZipError(TZipErrorCode::UnhandledType);
    archive = std::make_unique<TZipArchive>(path, TZipArchive::OpenMode::OpenExisting);
    archive->Load();
  } else {
    // A new file is typed by its extension alone.
    if (ArchiveType(path) != TArchiveType::Zip) ThrowZipError(TZipErrorCode::UnhandledType);
    archive = std::make_unique<TZipArchive>(path, TZipArchive::OpenMode::CreateNew);
    archive->Status = TZipStatus::Idle;
  }
  archive->Password = password_;
  archive->CompressionMethodToUse = CompressionMethodToUse;
  archive->DeflationOption = DeflationOption;
  archive->Encryption = Encryption;
  archive_ = std::move(archive);
}

void TZipWriter::AddFromStream(const std::string& name, TStream& stream) {
  if (!archive_) ThrowZipError(TZipErrorCode::NoArchive);
  stream.SetPosition(0);
  TZipItem item;
  item.Method = 8;
  item.Name = NormaliseMemberName(name);
  if (archive_->Status == TZipStatus::Invalid) ThrowZipError(TZipErrorCode::NoArchive);
  if (archive_->FindItem(item.Name) >= 0) {
    RaiseItemFailure(item, TItemProcess::Add,
                     {TItemErrorClass::Archive, TZipErrorCode::DuplicateName});
    return;
  }
  if (archive_->Spanned) throw EZipError(TZipErrorCode::Unnumbered, kSpannedRefusal);
  // A member whose data cannot be made is left out and reported; the rest
  // of the archive is written all the same.
  std::vector<TNewMember> members = ProduceOrNothing(*archive_, item.Name, stream);
  if (members.empty()) {
    RaiseItemFailure(item, TItemProcess::Add, {TItemErrorClass::FileOpen});
    // The handler may have closed the writer or opened another archive.
    if (!archive_ || !NeedsEmptyArchive(*archive_)) return;
  }
  {
    TArchiveLock lock(archive_->Path());
    SaveUnderLock(archive_->Path(), lock, std::move(members));
  }
  ReloadArchive();
}

// The list is read again from the file just written, so that a later add
// of the same name is refused as the duplicate it now is.
void TZipWriter::ReloadArchive() {
  auto archive =
      std::make_unique<TZipArchive>(archive_->Path(), TZipArchive::OpenMode::OpenExisting);
  archive->Load();
  archive->Password = archive_->Password;
  archive->CompressionMethodToUse = archive_->CompressionMethodToUse;
  archive->DeflationOption = archive_->DeflationOption;
  archive->Encryption = archive_->Encryption;
  WipeString(archive_->Password);
  archive_ = std::move(archive);
}

void TZipWriter::CloseArchive() {
  if (!fileName_.empty() || archive_) SetFileName(std::string());
}
