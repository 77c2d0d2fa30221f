#include "archive/zip/zip_engine.h"

#include <algorithm>

#include "archive/archive_errors.h"
#include "archive/codec/deflate_helper.h"
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
  if (archive_) {
    // Closing a reader saves what needs saving; failures do not matter here.
    try {
      archive_->Save();
    } catch (const std::exception&) {
    }
    archive_.reset();
  }
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
  if (archive_->Item(static_cast<std::size_t>(index)).Action == TZipAction::NewFromStream) {
    archive_->Save();
  }
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

TZipWriter::~TZipWriter() = default;

void TZipWriter::SetFileName(const std::string& path) {
  if (archive_) {
    std::unique_ptr<TZipArchive> previous = std::move(archive_);
    fileName_.clear();
    previous->Save();
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
  archive->OnItemFailure = [this](const TZipItem& item, TItemProcess process,
                                  const TItemFailure& failure) {
    RaiseItemFailure(item, process, failure);
  };
  archive_ = std::move(archive);
}

void TZipWriter::AddFromStream(const std::string& name, TStream& stream) {
  if (!archive_) ThrowZipError(TZipErrorCode::NoArchive);
  stream.SetPosition(0);
  auto item = std::make_unique<TZipItem>();
  item->Method = 8;
  item->Name = NormaliseMemberName(name);
  if (archive_->Status == TZipStatus::Invalid) ThrowZipError(TZipErrorCode::NoArchive);
  if (archive_->FindItem(item->Name) >= 0) {
    RaiseItemFailure(*item, TItemProcess::Add,
                     {TItemErrorClass::Archive, TZipErrorCode::DuplicateName});
    return;
  }
  item->Action = TZipAction::NewFromStream;
  item->Source = &stream;
  archive_->Append(std::move(item));
  try {
    archive_->Save();
  } catch (...) {
    // The stream belongs to the caller: no later save may reach for it.
    DropPendingSource(stream);
    throw;
  }
}

void TZipWriter::DropPendingSource(TStream& stream) {
  if (!archive_) return;
  for (std::size_t i = 0; i < archive_->Count(); ++i) {
    TZipItem& item = archive_->Item(i);
    if (item.Source == &stream) {
      item.Source = nullptr;
      item.Action = TZipAction::Deleted;
    }
  }
}

void TZipWriter::CloseArchive() {
  if (!fileName_.empty() || archive_) SetFileName(std::string());
}
