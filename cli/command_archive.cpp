#include "cli/command_archive.h"

#include "archive/encryption_memory.h"
#include "archive/zip/change_records_member.h"
#include "archive/storage/vault_save.h"
#include "cli/cli_error.h"
#include "cli/command_context.h"
#include "cli/gen_options.h"
#include "cli/password_input.h"
#include "cli/settings_access.h"
#include "core/secret_wipe.h"

namespace cli {

namespace {

const char kPlainSaveWarning[] = "the password is empty: the archive is saved without encryption";

// The option takes a little more than the window's Options offer.
constexpr int kMaxBackupsOption = 100;

// Without --backups, the count the window's Options chose.
int BackupsOption(const TCliContext& ctx) {
  const auto value = ctx.args.Value("backups");
  if (!value) return StoredBackupCount(ctx.args.Has("useini"));
  return ParseIntOption(ctx.command, "backups", *value, 0, kMaxBackupsOption);
}

// A change that would add a site list beside other members needs --force:
// the file may be no password archive at all.
void RefuseWithoutSiteList(const TCliContext& ctx, const TArchiveContent& archive) {
  if (archive.LacksSiteList() && !ctx.args.Has("force")) {
    throw ECliError(kExitNotArchive, NoSiteListText(archive) + "; --force adds one");
  }
}

// A failed save becomes the command's error: refused data, or the file.
template <typename TSave>
auto ThrowingSaveErrors(TSave save) {
  try {
    return save();
  } catch (const EMemberTooLarge& e) {
    throw ECliError(kExitDataError, e.what());
  } catch (const std::exception& e) {
    throw ECliError(kExitFailure, e.what());
  }
}

TSettingsFile SettingsOf(const TCliContext& ctx) { return CliSettingsFile(ctx.args.Has("useini")); }

// An archive that comes back weaker than it was last seen is said once, on
// standard error; its next save writes the stronger encryption again.
void NoticeEncryption(const TCliContext& ctx, const TArchiveContent& archive) {
  if (!archive.hasSiteList) return;
  const TEncryptionCheck check = CheckEncryption(SettingsOf(ctx), archive.path, archive.encryption);
  if (check.weakerThan) Warn(ctx, DowngradeText(archive.given, check, archive.encryption));
}

// The options with the lock the save hands its new file to.
TSaveOptions UnderLock(TSaveOptions options, TArchiveLock& lock) {
  options.lock = &lock;
  return options;
}


}  // namespace

void RememberSaved(const TCliContext& ctx, const std::string& path, const TSaveOptions& options) {
  RememberEncryption(SettingsOf(ctx), path,
                     options.password.empty() ? TEncryption::None : options.encryption);
}

std::vector<TOptionDef> ChangeOptionDefs() {
  return {{"backups", true}, {"force", false}, {"useini", false}};
}

std::optional<TEncryption> EncryptionToSave(std::string_view name) {
  if (name == "aes256") return TEncryption::Aes256;
  if (name == "hardened") return TEncryption::Aes256Hardened;
  if (name == "traditional") return TEncryption::Traditional;
  return std::nullopt;
}

std::optional<TEncryption> EncryptionOption(const TCliContext& ctx) {
  const auto value = ctx.args.Value("encryption");
  if (!value) return std::nullopt;
  if (const auto encryption = EncryptionToSave(*value)) return encryption;
  throw EUsageError(ctx.command, "--encryption must be aes256, hardened or traditional, not \"" +
                                     *value + "\"");
}

TArchiveContent ReadToShow(TCliContext& ctx) {
  TArchiveContent archive = ReadArchive(ctx.args.positionals[0], ctx.passwords);
  if (archive.LacksSiteList()) Warn(ctx, NoSiteListText(archive));
  NoticeEncryption(ctx, archive);
  return archive;
}

TArchiveContent ReadForChange(TCliContext& ctx) {
  BackupsOption(ctx);  // a bad value is refused before anything is read
  TArchiveContent archive = ReadArchiveToChange(ctx.args.positionals[0], ctx.passwords);
  RefuseWithoutSiteList(ctx, archive);
  NoticeEncryption(ctx, archive);
  return archive;
}

TSecretBytes AskNewArchivePassword(TCliContext& ctx) {
  TSecretBytes password = AskNewPassword(ctx.passwords);
  if (password.empty()) Warn(ctx, kPlainSaveWarning);
  return password;
}

void SetNewArchivePassword(TCliContext& ctx, TSaveOptions& options) {
  TSecretBytes password;
  if (!ctx.args.Has("no-password")) {
    password = AskNewPassword(ctx.passwords);
    if (password.empty()) {
      throw EUsageError(ctx.command,
                        "the password is empty: anyone who gets the file would read every "
                        "password; --no-password saves it without encryption");
    }
  } else {
    Warn(ctx, kPlainSaveWarning);
  }
  THardenedKeys keys;  // a new password always gets a new salt
  TZipPassword zip = ZipPasswordFor(password, options.encryption, keys);
  options.password = std::move(zip.password);
  options.hardened = std::move(zip.hardened);
}

void AskNewSiteListPassword(TCliContext& ctx, TArchiveContent& archive) {
  if (archive.LacksSiteList()) archive.password = AskNewArchivePassword(ctx);
}

TLockedArchive::TLockedArchive(const TCliContext& ctx, TArchiveContent& earlier)
    : ctx_(ctx), lock_(earlier.path), session_([&ctx] { return SettingsOf(ctx); }) {
  session_.SetPath(earlier.path);
  session_.SetSavesOnce();
  content_ = ReadArchiveAgain(earlier, session_);
  RefuseWithoutSiteList(ctx_, content_);
}

TLockedArchive::~TLockedArchive() = default;

// A hardened archive is saved with the key its read derived, and its salt.
TSaveOptions TLockedArchive::SaveOptions() { return session_.SaveOptions(BackupsOption(ctx_)); }

void TLockedArchive::Save(const std::string& data, const TSaveOptions& options) {
  // Only an archive that keeps change records needs them worked out (at a
  // million sites a sixth of the command); the command ends with this save.
  std::optional<TChangeRecords> records;
  if (CarriesChangeRecords(options.encryption, options.password.str()))
    records = session_.History().ForSave(data);
  Save(data, records, options);
}

void TLockedArchive::Save(const std::string& data, const std::optional<TChangeRecords>& records,
                          const TSaveOptions& options) {
  // Read under the lock, the file cannot have changed unless a program
  // that takes no lock wrote it: this change goes over it, as before.
  const std::optional<TSaveWarnings> warnings = ThrowingSaveErrors([&] {
    return session_.Save(data, records, options, lock_, TOutsideChange::Overwrite);
  });
  for (const std::string& warning : *warnings) Warn(ctx_, warning);
}

void TLockedArchive::Save(const TqelPwList& sites) { Save(sites.SaveToText(), SaveOptions()); }

void SaveNewArchive(const std::string& path, const std::string& data, const TSaveOptions& options,
                    TArchiveLock& lock) {
  // Nothing was there to keep a backup of, so there is nothing to warn of.
  ThrowingSaveErrors([&] {
    return SaveVault(path, data, RecordSaveNow(std::nullopt, "", data), UnderLock(options, lock));
  });
}

}  // namespace cli
