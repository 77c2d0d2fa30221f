// The commands that change an archive: add, edit, rm, passwd and create.
// Each checks everything and asks every password first, then changes the
// archive as it is under its lock and saves once, so a refused or failed
// command leaves the file as it was.
#include <filesystem>
#include <optional>

#include "archive/archive_errors.h"
#include "archive/zip/zip_archive.h"
#include "cli/archive_access.h"
#include "cli/archive_file.h"
#include "cli/cli_error.h"
#include "cli/command_archive.h"
#include "cli/command_context.h"
#include "cli/field_rules.h"
#include "cli/gen_options.h"
#include "cli/site_match.h"
#include "core/secret_bytes.h"

namespace cli {

namespace {

// Generator options are only meaningful together with --generate.
void CheckGeneratorUse(const TCliContext& ctx) {
  if (!ctx.args.Has("generate") && HasGeneratorOptions(ctx.args)) {
    throw EUsageError(ctx.command, "generator options need --generate");
  }
}

std::optional<int> WhichOption(const TCliContext& ctx) {
  auto which = ctx.args.Value("which");
  if (!which) return std::nullopt;
  return ParseIntOption(ctx.command, "which", *which, 1, 1'000'000);
}

std::string AskSitePassword(TCliContext& ctx, const std::string& site) {
  auto password = ctx.passwords.Ask("Password for " + site + ": ");
  if (!password) {
    throw ECliError(kExitFailure, "no password given for the site: standard input ended");
  }
  return password->str();
}

// The fields given on the command line over those of `rec`.
TSiteFields EditedFields(const TCliContext& ctx, const TqelPwRec& rec) {
  TSiteFields fields = FieldsOf(rec);
  fields.site = ctx.args.Value("rename").value_or(fields.site);
  fields.user = ctx.args.Value("user").value_or(fields.user);
  fields.url = ctx.args.Value("url").value_or(fields.url);
  fields.notes = ctx.args.Value("notes").value_or(fields.notes);
  return fields;
}

// Writes only the changed fields, so notes the command leaves alone keep
// their stored form byte for byte.
void StoreEdited(const TCliContext& ctx, const TSiteFields& fields, TqelPwRec& rec) {
  rec.SetSite(fields.site);
  rec.SetUser(fields.user);
  rec.SetPW(fields.password);
  rec.SetURL(fields.url);
  if (ctx.args.Has("notes")) rec.SetNote(fields.notes);
}

// The option combinations edit refuses before anything is read.
void CheckEditOptions(const TCliContext& ctx) {
  CheckGeneratorUse(ctx);
  if (ctx.args.Has("generate") && ctx.args.Has("ask-password")) {
    throw EUsageError(ctx.command, "--ask-password cannot be used with --generate");
  }
  const bool changesSomething = ctx.args.Has("rename") || ctx.args.Has("user") ||
                                ctx.args.Has("url") || ctx.args.Has("notes") ||
                                ctx.args.Has("ask-password") || ctx.args.Has("generate");
  if (!changesSomething) throw EUsageError(ctx.command, "nothing to change");
  if (ctx.args.Has("generate")) GeneratorOptionsFrom(ctx.command, ctx.args);  // refuses bad ones
}

// The password edit sets, if any: generated or asked for once the site, as
// first read, is known to exist and to take the new fields. The first
// read's data is given up.
std::optional<std::string> NewSitePassword(TCliContext& ctx, TArchiveContent& archive,
                                           std::optional<int> which) {
  TqelPwList sites = TakeSites(archive);
  TqelPwRec rec;
  rec.SetLine(sites[PickOneSite(sites, ctx.args.positionals[1], which)]);
  RequireValidSite(EditedFields(ctx, rec));
  if (ctx.args.Has("generate")) return GenerateWith(GeneratorOptionsFrom(ctx.command, ctx.args));
  if (ctx.args.Has("ask-password")) return AskSitePassword(ctx, rec.Site());
  return std::nullopt;
}

// Refuses to create over an existing file, except an empty one (nothing in
// it can be lost; scripts make such files with mktemp), and a name the
// engine would not take for an archive.
void RequireCreatable(const std::string& given) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(given, ec);
  const bool empty = fs::is_regular_file(status) && fs::file_size(given, ec) == 0 && !ec;
  if (fs::exists(status) && !empty) throw ECliError(kExitFailure, given + " exists already");
  if (!HasArchiveExtension(given)) {
    throw ECliError(kExitNotArchive, std::string(ZipErrorMessage(TZipErrorCode::UnhandledType)) +
                                         " (an archive's file name must end in \".zip\")");
  }
}

}  // namespace

int RunAdd(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE", "SITE"});
  CheckGeneratorUse(ctx);
  const std::optional<TGenOptions> generator =
      ctx.args.Has("generate") ? std::optional(GeneratorOptionsFrom(ctx.command, ctx.args))
                               : std::nullopt;
  TSiteFields fields{ctx.args.positionals[1], ctx.args.Value("user").value_or(""), "",
                     ctx.args.Value("url").value_or(""), ctx.args.Value("notes").value_or("")};
  RequireValidSite(fields);  // before any password is asked for

  TArchiveContent archive = ReadForChange(ctx);
  AskNewSiteListPassword(ctx, archive);
  fields.password =
      generator ? GenerateWith(*generator) : AskSitePassword(ctx, TrimControls(fields.site));
  RequireValidSite(fields);
  TqelPwRec rec;
  StoreFields(fields, rec);

  TLockedArchive locked(ctx, archive);
  TqelPwList sites = TakeSites(locked.Content());
  const int before = sites.Count();
  sites.Add(rec.Line());
  if (sites.Count() == before) {
    Warn(ctx, "the archive holds this site already; nothing changed");
    return kExitOk;
  }
  // The list goes into the text as it is joined, so the save holds one of them.
  locked.Save(TSecretBytes(sites.TakeText()).str(), locked.SaveOptions());
  return kExitOk;
}

int RunEdit(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE", "SITE"});
  CheckEditOptions(ctx);
  const std::optional<int> which = WhichOption(ctx);
  const std::string& name = ctx.args.positionals[1];

  TArchiveContent archive = ReadForChange(ctx);
  const std::optional<std::string> password = NewSitePassword(ctx, archive, which);
  TLockedArchive locked(ctx, archive);
  TqelPwList sites = TakeSites(locked.Content());
  const int index = PickOneSite(sites, name, which);
  TqelPwRec rec;
  rec.SetLine(sites[index]);
  TSiteFields fields = EditedFields(ctx, rec);
  fields.password = password.value_or(fields.password);
  RequireValidSite(fields);
  StoreEdited(ctx, fields, rec);

  if (rec.Line() == sites[index]) return kExitOk;  // nothing to save
  sites.Remove(index);
  sites.Add(rec.Line());
  locked.Save(sites);
  return kExitOk;
}

int RunRemove(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE", "SITE"});
  const std::optional<int> which = WhichOption(ctx);
  TArchiveContent archive = ReadForChange(ctx);
  TLockedArchive locked(ctx, archive);
  TqelPwList sites = TakeSites(locked.Content());
  const int index = PickOneSite(sites, ctx.args.positionals[1], which);
  sites.Remove(index);
  locked.Save(sites);
  return kExitOk;
}

int RunPasswd(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  const std::optional<TEncryption> encryption = EncryptionOption(ctx);
  TArchiveContent archive = ReadForChange(ctx);
  TSaveOptions fresh;
  fresh.encryption = encryption.value_or(EncryptionToWrite(archive.encryption));
  SetNewArchivePassword(ctx, fresh);

  TLockedArchive locked(ctx, archive);
  TSaveOptions options = locked.SaveOptions();
  options.password = std::move(fresh.password);
  options.hardened = std::move(fresh.hardened);
  options.encryption = fresh.encryption;
  options.passwordChanged = true;
  // The member's bytes go over unchanged: only the password is new.
  locked.Save(locked.Content().data.str(), options);
  return kExitOk;
}

int RunCreate(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  const std::string& given = ctx.args.positionals[0];
  TSaveOptions options;
  options.encryption = EncryptionOption(ctx).value_or(TEncryption::Traditional);
  options.backups = 0;  // an empty file holds nothing worth keeping
  RequireCreatable(given);
  SetNewArchivePassword(ctx, options);

  const std::string path = AbsolutePath(given);
  TArchiveLock lock(path);
  RequireCreatable(given);  // another program may have made it meanwhile
  SaveNewArchive(path, TqelPwList().SaveToText(), options, lock);
  // A new archive at the path of an older one: what it has now is what counts.
  RememberSaved(ctx, path, options);
  return kExitOk;
}

}  // namespace cli
