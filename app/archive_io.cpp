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
#include "archive/archive_session.h"
#include "archive/site_list_reader.h"
#include "archive/storage/safe_save.h"
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
    FSession->TakeDiskVersion({});
    FWatch->Watch(path);
    return;
  }
  const TMemberRead read = ReadOwnMember(path, {});
  // An abandoned read has started a new, empty archive meanwhile.
  if (FReadAbandoned) return;
  FWatch->Watch(path);
  if (read.hasMembers && !read.found) MsgDlg().ShowWarning(kNoSiteListWarning);
  OfferConflictCopies();
}

// The archive as read: the sites, their change dates and the encryption the
// file has, warning once per archive when it is weaker than it was.
void TfrmMain::ShowRead(const QString& path, const TMemberRead& read,
                        const TEncryptionCheck& check) {
  FSites->LoadFromText(read.data.str());
  SetChangeDates(ChangeDatesFrom(FSession->History().Records()));
  if (check.weakerThan && !FDowngradesTold.contains(path)) {
    FDowngradesTold << path;
    MsgDlg().ShowWarning(ToQString(DowngradeText(ToFileName(path), check, read.encryption)));
  }
  ShowEncryption(read.encryption);
}

std::unique_ptr<TqelPwList> TfrmMain::ReadOtherArchive(const QString& path) {
  if (!FileExists(ToFileName(path))) return nullptr;
  const TMemberRead read = ReadOtherMember(path, {});
  if (FReadAbandoned && FReadingOther) return nullptr;
  auto list = std::make_unique<TqelPwList>();
  list->LoadFromText(read.data.str());
  return list;
}

TfrmMain::TMemberRead TfrmMain::ReadOwnMember(const QString& path,
                                              const std::string& firstPassword) {
  std::optional<TEncryptionCheck> check;
  TMemberRead read = ReadDataMember(path, [&](TZipReader& reader, TMemoryStream& buffer) {
    TPasswordsFrom prompts([this](const TReadFailure&) { return ArchiveItemFailure(); });
    TSessionRead opened = FSession->Open(firstPassword, prompts, reader, buffer);
    check = opened.check;
    return std::move(opened.found);
  });
  if (!FReadAbandoned) ShowRead(path, read, *check);
  return read;
}

TfrmMain::TMemberRead TfrmMain::ReadOtherMember(const QString& path,
                                                const std::string& firstPassword) {
  return ReadDataMember(path, [&](TZipReader& reader, TMemoryStream& buffer) {
    TPasswordsFrom prompts([this](const TReadFailure&) { return ArchiveItemFailure(); });
    return FSession->ReadOther(ToFileName(path), firstPassword, prompts, reader, buffer);
  });
}

TfrmMain::TMemberRead TfrmMain::ReadDataMember(const QString& path, const TSiteListReadFn& read) {
  FReader = std::make_unique<TZipReader>();
  FDataStream = std::make_unique<TMemoryStream>();
  FReadAbandoned = false;
  const auto release = qScopeGuard([this] {
    FReader.reset();
    FDataStream.reset();
  });
  // Without a password an encrypted member fails once and the prompt asks
  // for it.
  TSiteListRead found = read(*FReader, *FDataStream);
  TMemberRead result;
  result.hasMembers = !found.members.empty();
  result.found = found.hasSiteList;
  result.encryption = found.encryption;
  if (found.failure) {
    AbandonRead(path, *found.failure);
  } else {
    result.data = std::move(found.data);
    result.records = std::move(found.records);
    result.dataTime = found.dataTime;
  }
  FReader->CloseArchive();
  return result;
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
  if (!FSession->Password().empty() || lbxSiteList->Count() == 0 ||
      FPlainSaveAllowed.contains(path)) {
    return true;
  }
  switch (MsgDlg().Choose(QString::fromUtf8(kPlainSaveQuestion).arg(path),
                          {kSetPasswordAnswer, kSavePlainAnswer, kCancelAnswer})) {
    case kPlainSetPassword:
      mmiNewPWClick();
      return !FSession->Password().empty();
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
      saved = WriteLocked(*lock, TOutsideChange::Refuse);
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
        CollectSites();  // the refused attempt gave up its copy of the sites
        {
          std::optional<TArchiveLock> lock = WaitForArchiveLock(this, file, path);
          if (!lock) return false;
          warnings = *WriteLocked(*lock, TOutsideChange::Overwrite);
        }
        ShowSaveWarnings(warnings);
        return true;
      }
      default:
        return false;
    }
  }
}

std::optional<TSaveWarnings> TfrmMain::WriteLocked(TArchiveLock& lock, TOutsideChange policy) {
  std::string text = FSites->SaveToText();
  // The list box keeps the sites; a second copy would only double the memory.
  FSites->Wipe();
  const auto wipe = qScopeGuard([&text] { WipeString(text); });
  std::optional<TSaveWarnings> warnings =
      FSession->Save(text, FSession->SaveOptions(BackupCount()), lock, policy);
  if (!warnings) return warnings;
  SetChangeDates(ChangeDatesFrom(FSession->History().Records()));
  ShowEncryption(WriteEncryption());
  FWatch->Watch(ArchivePath());
  return warnings;
}

void TfrmMain::CollectSites() {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(lbxSiteList->Count()));
  for (int i = 0; i < lbxSiteList->Count(); ++i) lines.push_back(lbxSiteList->Line(i));
  FSites->Clear();
  FSites->Add(std::move(lines));
}

TEncryption TfrmMain::WriteEncryption() const { return FSession->WriteEncryption(); }

void TfrmMain::ShowEncryption(TEncryption encryption) {
  lblEncryption->ShowOnDisk(encryption, WriteEncryption());
}
