// export and import: the sites in the files other password keepers and
// browsers write and read, to move them in and out.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "cli/archive_access.h"
#include "cli/cli_error.h"
#include "cli/command_archive.h"
#include "cli/command_context.h"
#include "cli/field_rules.h"
#include "core/private_file.h"
#include "core/secret_bytes.h"
#include "interchange/site_export.h"
#include "interchange/site_import.h"
#include "interchange/site_lines.h"

namespace cli {

namespace {

std::vector<TSiteFields> FieldsOfAll(TqelPwList& sites) {
  std::vector<TSiteFields> fields;
  for (int i = 0; i < sites.Count(); ++i) fields.push_back(FieldsOf(sites.Rec(i)));
  return fields;
}

// --format NAME, when given, among the formats the command handles.
std::optional<interchange::TFormat> FormatOption(const TCliContext& ctx, bool importing) {
  const auto name = ctx.args.Value("format");
  if (!name) return std::nullopt;
  const auto format = interchange::FormatNamed(*name);
  if (!format || !(importing ? interchange::CanImport(*format) : interchange::CanExport(*format))) {
    throw EUsageError(ctx.command, "--format must be one of " +
                                       (importing ? interchange::ImportFormatNames()
                                                  : interchange::ExportFormatNames()) +
                                       ", not \"" + *name + "\"");
  }
  return format;
}

// The command line asks no question before it would overwrite, so an
// export never replaces an existing file.
void WriteNewPrivateFile(const std::string& path, const std::string& text) {
  if (CreatePrivateFile(path, text)) return;
  const std::string reason = errno == EEXIST ? "the file exists already" : std::strerror(errno);
  throw ECliError(kExitFailure, "cannot create " + path + ": " + reason);
}

// Read into one buffer of the file's size where that is known: a large
// file is then held once, not once more while it is gathered.
std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ECliError(kExitFailure, "cannot read " + path + ": " + std::strerror(errno));
  std::string text;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0 && in) {
    text.resize(static_cast<std::size_t>(size));
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
  }
  // What is left, or all of a file whose size is not known (a pipe).
  in.clear();
  std::ostringstream rest;
  rest << in.rdbuf();
  if (in.bad()) throw ECliError(kExitFailure, "cannot read " + path);
  text += rest.str();
  return text;
}

// "in.csv, line 3: ..." or, for the file as a whole, "in.csv: ...".
[[noreturn]] void ThrowFileError(const std::string& path, const std::string& where,
                                 const std::string& message) {
  throw ECliError(kExitDataError, path + (where.empty() ? "" : ", " + where) + ": " + message);
}

std::string LineText(int line) { return line > 0 ? "line " + std::to_string(line) : ""; }

// The site lines of a file, each checked against the site rules. A record
// the archive cannot hold refuses the import, unless --fix repairs it; every
// change is reported.
std::vector<std::string> SiteLinesFromFile(TCliContext& ctx, const std::string& path,
                                           std::string_view bytes) {
  // Each site becomes its line as it is read, so the file's sites are never
  // all held as records beside its text and their lines.
  interchange::TSiteLines checked;
  // About one site a line: room made once instead of by doubling.
  checked.lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
  const bool fix = ctx.args.Has("fix");
  interchange::TSiteImport imported;
  try {
    imported = interchange::ReadSites(
        bytes, {.format = FormatOption(ctx, true), .ignoreColumns = ctx.args.Has("ignore-columns")},
        [&checked, fix](interchange::TImportedSite&& site) {
          interchange::AddSiteLine(checked, site, fix);
        });
  } catch (const interchange::EFormatError& e) {
    ThrowFileError(path, LineText(e.Line()), e.what());
  }
  for (const std::string& notice : imported.notices) Warn(ctx, path + ": " + notice);
  for (const interchange::TImportIssue& change : checked.changes) {
    Warn(ctx, path + ", " + change.where + ": " + change.message);
  }
  if (!checked.refused.empty()) {
    ThrowFileError(path, checked.refused.front().where, checked.refused.front().message);
  }
  return std::move(checked.lines);
}

}  // namespace

int RunExport(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  const auto target = ctx.args.Value("csv");
  if (!target) throw EUsageError(ctx.command, "--csv FILE is missing");
  TArchiveContent archive = ReadToShow(ctx);
  const auto format = FormatOption(ctx, false).value_or(interchange::TFormat::Vornix);
  TqelPwList sites = TakeSites(archive);
  const std::string text = interchange::WriteSites(FieldsOfAll(sites), format);
  if (*target == "-") {
    ctx.out.write(text.data(), static_cast<std::streamsize>(text.size()));
  } else {
    WriteNewPrivateFile(*target, text);
  }
  return kExitOk;
}

int RunImport(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  const auto source = ctx.args.Value("csv");
  if (!source) throw EUsageError(ctx.command, "--csv FILE is missing");
  if (*source == "-") {
    throw EUsageError(ctx.command, "import reads a file; standard input carries the passwords");
  }
  // The whole file is checked before the archive is opened.
  std::vector<std::string> lines = SiteLinesFromFile(ctx, *source, ReadWholeFile(*source));
  const std::size_t given = lines.size();

  TArchiveContent archive = ReadForChange(ctx);
  AskNewSiteListPassword(ctx, archive);
  TLockedArchive locked(ctx, archive);
  TqelPwList sites = TakeSites(locked.Content());
  const int added = sites.Add(std::move(lines));
  if (added > 0) locked.Save(TSecretBytes(sites.TakeText()).str(), locked.SaveOptions());
  ctx.out << added << (added == 1 ? " site" : " sites") << " imported";
  if (static_cast<std::size_t>(added) < given) {
    ctx.out << ", " << given - static_cast<std::size_t>(added) << " already present";
  }
  ctx.out << '\n';
  return kExitOk;
}

}  // namespace cli
