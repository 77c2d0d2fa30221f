// Reading and writing the archive file: the calls into the archive engine,
// and the password retries while the member "Data" is extracted.

#include <QLabel>
#include <QStatusBar>
#include <QScopeGuard>

#include "app/app_texts.h"
#include "app/archive_watch.h"
#include "app/lock_wait.h"
#include "app/encryption_label.h"
#include "app/main_window.h"
#include "app/site_list_box.h"
#include "archive/storage/archive_lock.h"
#include "archive/storage/file_snapshot.h"
#include "archive/encryption_memory.h"
#include "archive/site_list_reader.h"
#include "archive/storage/safe_save.h"
#include "archive/storage/vault_save.h"
#include "archive/streams.h"
#include "archive/zip/site_list_member.h"
#include "archive/zip/zip_engine.h"
#include "core/change_date.h"
#include "core/pw_list.h"
#include "core/retry_limits.h"
#include "core/secret_wipe.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/options.h"
#include "support/state.h"
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
  FSites->LoadFromText(read.data.str());
  FHistory.Loaded(read.data.str(), read.records, read.dataTime);
  SetChangeDates(ChangeDatesFrom(FHistory.Records()));
  AdoptReadEncryption(path, read.encryption);
  ShowEncryption(read.encryption);
  FWatch->Remember(path, snapshot);
  if (read.hasMembers && !read.found) MsgDlg().ShowWarning(kNoSiteListWarning);
  OfferConflictCopies();
}

// The encryption the file has now decides the next save, unless it is
// weaker than the archive had before: then the window says so, once per
// archive, and keeps the stronger one.
void TfrmMain::AdoptReadEncryption(const QString& path, TEncryption found) {
  const TEncryptionCheck check = CheckEncryption(SettingsStorage(), ToFileName(path), found);
  FEncryption = check.write;
  if (check.weakerThan && !FDowngradesTold.contains(path)) {
    FDowngradesTold << path;
    MsgDlg().ShowWarning(ToQString(DowngradeText(ToFileName(path), check, found)));
  }
}

std::unique_ptr<TqelPwList> TfrmMain::ReadOtherArchive(const QString& path) {
  if (!FileExists(ToFileName(path))) return nullptr;
  const TMemberRead read = ReadDataMember(path, {});
  if (FReadAbandoned && FReadingOther) return nullptr;
  auto list = std::make_unique<TqelPwList>();
  list->LoadFromText(read.data.str());
  return list;
}

TfrmMain::TMemberRead TfrmMain::ReadDataMember(const QString& path,
                                               const std::string& firstPassword) {
  TPasswordsFrom prompts([this](const TReadFailure&) { return ArchiveItemFailure(); });
  return ReadDataMember(path, firstPassword, prompts);
}

TfrmMain::TMemberRead TfrmMain::ReadDataMember(const QString& path,
                                               const std::string& firstPassword,
                                               TPasswordSource& passwords) {
  FReader = std::make_unique<TZipReader>();
  FDataStream = std::make_unique<TMemoryStream>();
  FReadAbandoned = false;
  const auto release = qScopeGuard([this] {
    FReader.reset();
    FDataStream.reset();
  });
  // Without a password an encrypted member fails once and the prompt asks
  // for it.
  TSiteListRead found = ReadSiteList(*FReader, *FDataStream, ToFileName(path), firstPassword,
                                     passwords, &FHardenedKeys);
  TMemberRead read;
  read.hasMembers = !found.members.empty();
  read.found = found.hasSiteList;
  read.encryption = found.encryption;
  if (found.failure) {
    AbandonRead(path, *found.failure);
  } else {
    read.data = std::move(found.data);
    read.records = std::move(found.records);
    read.dataTime = found.dataTime;
  }
  FReader->CloseArchive();
  return read;
}

// Every extraction failure counts as a wrong password: the person is asked
// again, up to three times in one read.
std::optional<TSecretBytes> TfrmMain::ArchiveItemFailure() {
  ++FPWTries;
  if (FPWTries > kRetryPrompts || FOpenPasswordPrompt(FArchivePW) != mrOk) return std::nullopt;
  return TSecretBytes(ToBytes(FArchivePW));
}

void TfrmMain::AbandonRead(const QString& path, const TReadFailure& failure) {
  FReadAbandoned = true;
  // Reading another archive leaves the current one alone; any other read
  // ends with a new, empty archive.
  if (!FReadingOther) mmiFileNewClick();
  // The password got past the archive's first check: say that the file
  // itself may be at fault.
  if (failure.verdict == TReadVerdict::FailedAfterCheck) {
    StatusBar->showMessage(QStringLiteral("The archive %1 is damaged or was changed, or the password is wrong").arg(path));
  }
}

bool TfrmMain::ConfirmPlainSave(const QString& path) {
  if (!FArchivePW.isEmpty() || lbxSiteList->Count() == 0 || FPlainSaveAllowed.contains(path)) {
    return true;
  }
  switch (MsgDlg().Choose(QString::fromUtf8(kPlainSaveQuestion).arg(path),
                          {kSetPasswordAnswer, kSavePlainAnswer, kCancelAnswer})) {
    case kPlainSetPassword:
      mmiNewPWClick();
      return !FArchivePW.isEmpty();
    case kPlainSave:
      FPlainSaveAllowed << path;
      return true;
    default:
      return false;
  }
}

bool TfrmMain::WriteArchive(const QString& path) {
  const std::string file = ToFileName(path);
  if (!ConfirmPlainSave(path)) return false;
  for (;;) {
    CollectSites();
    std::optional<TSaveWarnings> saved;
    {
      std::optional<TArchiveLock> lock = WaitForArchiveLock(this, file, path);
      if (!lock) return false;
      // An empty file the lock made for a new archive is no outside change.
      if (lock->CreatedEmptyFile() || !FWatch->ChangedOnDisk(path)) saved = WriteLocked(path, *lock);
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
          std::optional<TArchiveLock> lock = WaitForArchiveLock(this, file, path);
          if (!lock) return false;
          warnings = WriteLocked(path, *lock);
        }
        ShowSaveWarnings(warnings);
        return true;
      }
      default:
        return false;
    }
  }
}

TSaveWarnings TfrmMain::WriteLocked(const QString& path, TArchiveLock& lock) {
  TSaveOptions options;
  options.lock = &lock;
  options.encryption = FEncryption;
  TZipPassword zip = ZipPasswordFor(TSecretBytes(ToBytes(FArchivePW)), FEncryption, FHardenedKeys);
  options.password = std::move(zip.password);
  options.hardened = std::move(zip.hardened);
  options.backups = BackupCount();
  options.passwordChanged = FPasswordChanged;
  const std::string file = ToFileName(path);
  std::string text = FSites->SaveToText();
  // The list box keeps the sites; a second copy would only double the memory.
  FSites->Wipe();
  const TChangeRecords records = FHistory.ForSave(text);
  TSaveWarnings warnings = SaveVault(file, text, records, options);
  FHistory.Adopt(text, records);
  SetChangeDates(ChangeDatesFrom(FHistory.Records()));
  WipeString(text);
  FPasswordChanged = false;
  RememberEncryption(SettingsStorage(), file, WriteEncryption());
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
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(lbxSiteList->Count()));
  for (int i = 0; i < lbxSiteList->Count(); ++i) lines.push_back(lbxSiteList->Line(i));
  FSites->Clear();
  FSites->Add(std::move(lines));
}

TEncryption TfrmMain::WriteEncryption() const {
  return FArchivePW.isEmpty() ? TEncryption::None : FEncryption;
}

void TfrmMain::ShowEncryption(TEncryption encryption) {
  lblEncryption->ShowOnDisk(encryption, WriteEncryption());
}
