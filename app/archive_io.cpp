// Reading and writing the archive file: the calls into the archive engine,
// and the password retries while the member "Data" is extracted.

#include <QLabel>
#include <QScopeGuard>

#include "app/app_texts.h"
#include "app/archive_watch.h"
#include "app/main_window.h"
#include "app/site_list_box.h"
#include "archive/storage/archive_lock.h"
#include "archive/storage/file_snapshot.h"
#include "archive/storage/safe_save.h"
#include "archive/zip/site_list_member.h"
#include "archive/streams.h"
#include "archive/zip/zip_engine.h"
#include "core/pw_list.h"
#include "core/text_codec.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/options.h"
#include "support/text_convert.h"

namespace {

const char kNoSiteListWarning[] = "This archive holds no site list; saving will add one.";

// The archive was saved; what the save could not do is told in one box.
void ShowSaveWarnings(const TSaveWarnings& warnings) {
  if (warnings.empty()) return;
  QStringList lines;
  for (const std::string& warning : warnings) lines << ToQString(warning);
  MsgDlg().ShowWarning(lines.join('\n'));
}

}  // namespace

void TfrmMain::ReadArchive(const QString& path) {
  if (!FileExists(ToFileName(path))) {
    // Nothing there yet: a file that appears later is another program's.
    FWatch->Remember(path, {});
    return;
  }
  // Taken before reading: a change made while the password is asked for
  // then still counts as a change at the next save.
  const TFileSnapshot snapshot = TakeFileSnapshot(ToFileName(path));
  const TMemberRead read = ReadDataMember(path, {});
  // An abandoned read has started a new, empty archive meanwhile.
  if (FReadAbandoned) return;
  FSites->LoadFromText(read.data);
  FEncryption = EncryptionToWrite(read.encryption);
  ShowEncryption(read.encryption);
  FWatch->Remember(path, snapshot);
  if (read.hasMembers && !read.found) MsgDlg().ShowWarning(kNoSiteListWarning);
}

std::unique_ptr<TqelPwList> TfrmMain::ReadOtherArchive(const QString& path) {
  if (!FileExists(ToFileName(path))) return nullptr;
  const TMemberRead read = ReadDataMember(path, {});
  if (FReadAbandoned && FReadingOther) return nullptr;
  auto list = std::make_unique<TqelPwList>();
  list->LoadFromText(read.data);
  return list;
}

TfrmMain::TMemberRead TfrmMain::ReadDataMember(const QString& path,
                                               const std::string& firstPassword) {
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
  FReader->SetPassword(firstPassword);
  FReader->SetFileName(ToFileName(path));
  TMemberRead read;
  read.hasMembers = !FReader->MemberNames().empty();
  if (const TZipItem* entry = FReader->FindMember(kSiteListMember)) {
    // A bomb is refused before a byte of it is inflated.
    CheckSiteListSize(*entry);
    read.found = true;
    read.encryption = EncryptionOf(*entry);
  }
  // Without a password an encrypted member fails once and the failure
  // handler asks for it.
  FReader->ExtractToStream(kSiteListMember, *FDataStream);
  FDataStream->SetPosition(0);
  read.data = FDataStream->TakeBytes();
  FReader->CloseArchive();
  return read;
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
  FReader->ExtractToStream(kSiteListMember, *FDataStream);
}

void TfrmMain::AbandonRead() {
  FReadAbandoned = true;
  FLegacyPassword.reset();
  // Nothing of a damaged or undecryptable member may be loaded.
  FDataStream->Clear();
  // Reading another archive leaves the current one alone; any other read
  // ends with a new, empty archive.
  if (!FReadingOther) mmiFileNewClick();
}

bool TfrmMain::WriteArchive(const QString& path) {
  const std::string file = ToFileName(path);
  for (;;) {
    CollectSites();
    std::optional<TSaveWarnings> saved;
    {
      const TArchiveLock lock(file);
      if (!FWatch->ChangedOnDisk(path)) saved = WriteLocked(path);
    }
    if (saved) {
      ShowSaveWarnings(*saved);
      return true;
    }
    // The lock is let go while the question waits for a person.
    switch (AskAboutOutsideChange(path)) {
      case kOutsideMerge:
        // Merged, the file is checked again: it may have changed once more.
        if (!MergeDiskVersion(path)) return false;
        break;
      case kOutsideOverwrite: {
        TSaveWarnings warnings;
        {
          const TArchiveLock lock(file);
          warnings = WriteLocked(path);
        }
        ShowSaveWarnings(warnings);
        return true;
      }
      default:
        return false;
    }
  }
}

// The caller holds the archive's lock.
TSaveWarnings TfrmMain::WriteLocked(const QString& path) {
  TSaveOptions options;
  options.password = ToBytes(FArchivePW);
  options.encryption = FEncryption;
  options.backups = BackupCount();
  options.passwordChanged = FPasswordChanged;
  const std::string file = ToFileName(path);
  TSaveWarnings warnings = SaveDataArchive(file, FSites->SaveToText(), options);
  FPasswordChanged = false;
  ShowEncryption(WriteEncryption());
  try {
    FWatch->Remember(path, TakeFileSnapshot(file));
  } catch (const EFileError&) {
    // Saved, but not readable back: nothing to compare a later save with.
    FWatch->Forget();
  }
  return warnings;
}

void TfrmMain::CollectSites() {
  FSites->Clear();
  for (int i = 0; i < lbxSiteList->Count(); ++i) FSites->Add(lbxSiteList->Record(i).Line());
}

TEncryption TfrmMain::WriteEncryption() const {
  return FArchivePW.isEmpty() ? TEncryption::None : FEncryption;
}

void TfrmMain::ShowEncryption(TEncryption encryption) {
  lblEncryption->setText(QString::fromLatin1(EncryptionName(encryption)));
}
