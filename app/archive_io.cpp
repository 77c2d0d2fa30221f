// Reading and writing the archive file: the calls into the archive engine,
// and the password retries while the member "Data" is extracted.

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include "app/app_texts.h"
#include "app/main_window.h"
#include "app/site_list_box.h"
#include "archive/safe_save.h"
#include "archive/streams.h"
#include "archive/zip_engine.h"
#include "core/pw_list.h"
#include "core/text_codec.h"
#include "support/modal_result.h"
#include "support/text_convert.h"

namespace {

// The archive engine takes file names as the bytes the file system uses.
std::string EncodePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool FileExists(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

// The Windows-1252 bytes of a password when they differ from its UTF-8
// bytes: archives written on the original platform used them.
std::optional<std::string> LegacyPasswordBytes(const std::string& utf8) {
  std::optional<std::string> legacy = Utf8ToCp1252(utf8);
  if (legacy && *legacy == utf8) legacy.reset();
  return legacy;
}

}  // namespace

void TfrmMain::ReadArchive(const QString& path) {
  if (!FileExists(path)) return;
  const std::string data = ReadDataMember(path);
  // An abandoned read has replaced FSites by a new empty list meanwhile.
  FSites->LoadFromText(data);
}

std::unique_ptr<TqelPwList> TfrmMain::ReadOtherArchive(const QString& path) {
  if (!FileExists(path)) return nullptr;
  const std::string data = ReadDataMember(path);
  if (FReadAbandoned && FImporting) return nullptr;
  auto list = std::make_unique<TqelPwList>();
  list->LoadFromText(data);
  return list;
}

std::string TfrmMain::ReadDataMember(const QString& path) {
  FReader = std::make_unique<TZipReader>();
  FDataStream = std::make_unique<TMemoryStream>();
  FReadAbandoned = false;
  FLegacyPassword.reset();
  const auto release = qScopeGuard([this] {
    FReader.reset();
    FDataStream.reset();
  });
  FReader->OnProcessItemFailure = [this](TZipComponent&, const TZipItem&, int, int, int) {
    ArchiveItemFailure();
  };
  FReader->SetFileName(EncodePath(path));
  // No password yet: an encrypted member fails once and the failure handler
  // asks for it.
  FReader->ExtractToStream(kDataMember, *FDataStream);
  FDataStream->SetPosition(0);
  std::string data = FDataStream->TakeBytes();
  FReader->CloseArchive();
  return data;
}

// Every extraction failure counts as a wrong password. Retries nest: a
// failed retry calls this handler again from inside RetryExtract.
void TfrmMain::ArchiveItemFailure() {
  if (FLegacyPassword) {
    // The password just entered, once more as Windows-1252 bytes; this is
    // no new prompt.
    const std::string legacy = std::move(*FLegacyPassword);
    FLegacyPassword.reset();
    RetryExtract(legacy);
    return;
  }
  ++FPWTries;
  if (FPWTries > 3 || FOpenPasswordPrompt(FArchivePW) != mrOk) {
    AbandonRead();
    return;
  }
  const std::string password = ToBytes(FArchivePW);
  FLegacyPassword = LegacyPasswordBytes(password);
  RetryExtract(password);
  FLegacyPassword.reset();
}

void TfrmMain::RetryExtract(const std::string& password) {
  FReader->SetPassword(password);
  // A failed attempt may have left bytes (a member that failed its CRC
  // check): each attempt starts on an empty buffer.
  FDataStream->Clear();
  FReader->ExtractToStream(kDataMember, *FDataStream);
}

void TfrmMain::AbandonRead() {
  FReadAbandoned = true;
  FLegacyPassword.reset();
  // Nothing of a damaged or undecryptable member may be loaded.
  FDataStream->Clear();
  // An import leaves the current archive alone; any other read ends with a
  // new, empty archive.
  if (!FImporting) mmiFileNewClick();
}

void TfrmMain::WriteArchive(const QString& path) {
  CollectSites();
  SaveDataArchive(EncodePath(path), ToBytes(FArchivePW), FSites->SaveToText());
}

void TfrmMain::CollectSites() {
  FSites->Clear();
  for (int i = 0; i < lbxSiteList->Count(); ++i) FSites->Add(lbxSiteList->Record(i).Line());
}
