// The commands that only read an archive: list, show, dump, info and
// zip-password.
#include <string_view>

#include "cli/archive_access.h"
#include "cli/cli_error.h"
#include "cli/command_archive.h"
#include "cli/command_context.h"
#include "cli/field_rules.h"
#include "cli/site_match.h"

namespace cli {

namespace {

// "Label:   value", continuation lines of a multi-line value indented to
// the value's column; an empty value gives the label alone.
void WriteLabelled(std::ostream& out, std::string_view label, std::string_view value) {
  constexpr std::size_t kValueColumn = 10;
  out << label;
  if (value.empty()) {
    out << '\n';
    return;
  }
  const std::string indent(kValueColumn, ' ');
  out << std::string(kValueColumn - label.size(), ' ');
  for (char c : value) {
    out << c;
    if (c == '\n') out << indent;
  }
  out << '\n';
}

const std::string* FieldByName(const TSiteFields& fields, std::string_view name) {
  if (name == "site") return &fields.site;
  if (name == "user") return &fields.user;
  if (name == "password") return &fields.password;
  if (name == "url") return &fields.url;
  if (name == "notes") return &fields.notes;
  return nullptr;
}

void WriteSite(std::ostream& out, const TSiteFields& fields) {
  WriteLabelled(out, "Site:", fields.site);
  WriteLabelled(out, "User:", fields.user);
  WriteLabelled(out, "Password:", fields.password);
  WriteLabelled(out, "URL:", fields.url);
  WriteLabelled(out, "Notes:", fields.notes);
}

}  // namespace

int RunList(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  TArchiveContent archive = ReadToShow(ctx);
  TqelPwList sites = TakeSites(archive);
  for (int i = 0; i < sites.Count(); ++i) ctx.out << sites.Rec(i).Site() << '\n';
  return kExitOk;
}

int RunShow(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE", "SITE"});
  const auto field = ctx.args.Value("field");
  if (field && FieldByName(TSiteFields{}, *field) == nullptr) {
    throw EUsageError(ctx.command,
                      "--field must be site, user, password, url or notes, not \"" + *field + "\"");
  }
  TArchiveContent archive = ReadToShow(ctx);
  TqelPwList sites = TakeSites(archive);
  const std::string& name = ctx.args.positionals[1];
  const std::vector<int> matches = FindSites(sites, name);
  if (matches.empty()) throw ECliError(kExitFailure, "no site is named \"" + name + "\"");
  for (std::size_t n = 0; n < matches.size(); ++n) {
    const TSiteFields fields = FieldsOf(sites.Rec(matches[n]));
    if (field) {
      ctx.out << *FieldByName(fields, *field) << '\n';
      continue;
    }
    if (n > 0) ctx.out << '\n';
    WriteSite(ctx.out, fields);
  }
  return kExitOk;
}

int RunDump(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  const TArchiveContent archive = ReadToShow(ctx);
  ctx.out.write(archive.data.str().data(), static_cast<std::streamsize>(archive.data.size()));
  return kExitOk;
}

int RunInfo(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  TArchiveContent archive = ReadToShow(ctx);
  ctx.out << "Encryption: " << EncryptionName(archive.encryption) << '\n';
  ctx.out << "Sites: " << TakeSites(archive).Count() << '\n';
  ctx.out << "Members: " << archive.members.size() << '\n';
  for (const std::string& member : archive.members) ctx.out << "  " << member << '\n';
  return kExitOk;
}

int RunZipPassword(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  const TArchiveContent archive = ReadToShow(ctx);
  if (archive.encryption != TEncryption::Aes256Hardened) {
    throw ECliError(kExitFailure, archive.given + " is not hardened (" +
                                      EncryptionName(archive.encryption) +
                                      "): its ZIP password is the archive password itself");
  }
  ctx.out << archive.zipPassword.str() << '\n';
  return kExitOk;
}

}  // namespace cli
