// export and import: the sites as CSV, to move them to and from other
// password managers.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "cli/archive_access.h"
#include "cli/cli_error.h"
#include "cli/command_archive.h"
#include "cli/command_context.h"
#include "cli/csv.h"
#include "cli/field_rules.h"

namespace cli {

namespace {

const TCsvRecord kHeader = {"site", "user", "password", "url", "notes"};
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string CsvText(TqelPwList& sites) {
  std::string text = CsvRecordText(kHeader);
  for (int i = 0; i < sites.Count(); ++i) {
    const TSiteFields f = FieldsOf(sites.Rec(i));
    text += CsvRecordText({f.site, f.user, f.password, f.url, f.notes});
  }
  return text;
}

// Creates a new file readable by its owner only (it holds the passwords in
// clear text) and writes the text; never replaces an existing file. A file
// left half-written by a failure is removed.
void WriteNewPrivateFile(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    const std::string reason = errno == EEXIST ? "the file exists already" : std::strerror(errno);
    throw ECliError(kExitFailure, "cannot create " + path + ": " + reason);
  }
  std::size_t done = 0;
  int error = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = errno;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(path.c_str());
    throw ECliError(kExitFailure, "cannot write " + path + ": " + std::strerror(error));
  }
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ECliError(kExitFailure, "cannot read " + path + ": " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw ECliError(kExitFailure, "cannot read " + path);
  return text.str();
}

bool IsHeader(const TCsvRecord& fields) {
  if (fields.size() != kHeader.size()) return false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string name = fields[i];
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name != kHeader[i]) return false;
  }
  return true;
}

[[noreturn]] void ThrowCsvError(const std::string& path, int line, const std::string& message) {
  throw ECliError(kExitDataError, path + ", line " + std::to_string(line) + ": " + message);
}

// The site lines of a CSV text, each checked against the field rules.
std::vector<std::string> SiteLinesFromCsv(const std::string& path, std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  std::vector<TCsvRow> rows;
  try {
    rows = ParseCsv(text);
  } catch (const ECsvError& e) {
    ThrowCsvError(path, e.Line(), e.what());
  }
  if (rows.empty() || !IsHeader(rows.front().fields)) {
    ThrowCsvError(path, 1, "the first line must be the header site,user,password,url,notes");
  }
  std::vector<std::string> lines;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const TCsvRow& row = rows[r];
    if (row.fields.size() == 1 && row.fields[0].empty()) continue;  // an empty line
    if (row.fields.size() != kHeader.size()) {
      ThrowCsvError(path, row.line,
                    std::to_string(row.fields.size()) + " fields where the header has 5");
    }
    const TSiteFields fields{row.fields[0], row.fields[1], row.fields[2], row.fields[3],
                             row.fields[4]};
    if (auto message = CheckSiteFields(fields)) ThrowCsvError(path, row.line, *message);
    TqelPwRec rec;
    StoreFields(fields, rec);
    lines.push_back(rec.Line());
  }
  return lines;
}

}  // namespace

int RunExport(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  const auto target = ctx.args.Value("csv");
  if (!target) throw EUsageError(ctx.command, "--csv FILE is missing");
  TArchiveContent archive = ReadToShow(ctx);
  TqelPwList sites = TakeSites(archive);
  const std::string text = CsvText(sites);
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
  const std::vector<std::string> lines = SiteLinesFromCsv(*source, ReadWholeFile(*source));

  TArchiveContent archive = ReadForChange(ctx);
  AskNewSiteListPassword(ctx, archive);
  TLockedArchive locked(ctx, archive);
  TqelPwList sites = TakeSites(locked.Content());
  const int before = sites.Count();
  for (const std::string& line : lines) sites.Add(line);
  const int added = sites.Count() - before;
  if (added > 0) locked.Save(sites);
  ctx.out << added << (added == 1 ? " site" : " sites") << " imported";
  if (static_cast<std::size_t>(added) < lines.size()) {
    ctx.out << ", " << lines.size() - static_cast<std::size_t>(added) << " already present";
  }
  ctx.out << '\n';
  return kExitOk;
}

}  // namespace cli
