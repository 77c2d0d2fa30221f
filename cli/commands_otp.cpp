// The commands that judge or use a site's secrets without showing the
// site: totp (the current one-time code) and report (the password report).
#include <map>
#include <memory>

#include "cli/archive_access.h"
#include "cli/cli_error.h"
#include "cli/command_archive.h"
#include "cli/command_context.h"
#include "cli/site_match.h"
#include "core/password_report.h"
#include "core/pw_list.h"
#include "core/totp.h"

namespace cli {

namespace {

std::optional<int> WhichOption(const TCliContext& ctx) {
  const auto text = ctx.args.Value("which");
  if (!text) return std::nullopt;
  try {
    return std::stoi(*text);
  } catch (const std::exception&) {
    throw EUsageError(ctx.command, "--which must be a number, not \"" + *text + "\"");
  }
}

// Archives carry no change records yet: every date is unknown.
void WriteRow(std::ostream& out, const TqelPwRec& rec, const TReportRow& row, bool passwords) {
  out << "  " << rec.Site() << "  (changed: " << ChangeDateText(row.changed) << ")";
  if (passwords) out << "  password: " << rec.PW();
  out << '\n';
}

void WriteReport(std::ostream& out, const std::vector<std::unique_ptr<TqelPwRec>>& recs,
                 const std::vector<TReportRow>& rows, bool passwords) {
  if (rows.empty()) {
    out << kNoPasswordProblems << '\n';
    return;
  }
  for (std::size_t n = 0; n < rows.size();) {
    const TPasswordIssue issue = rows[n].issue;
    std::size_t end = n;
    while (end < rows.size() && rows[end].issue == issue) ++end;
    if (issue != TPasswordIssue::Reused) {
      out << IssueText(issue) << " (" << end - n << "):\n";
      for (; n < end; ++n) WriteRow(out, *recs[rows[n].index], rows[n], passwords);
      continue;
    }
    const int groups = rows[end - 1].group;
    out << IssueText(issue) << " (" << groups << (groups == 1 ? " group" : " groups") << "):\n";
    while (n < end) {
      const int group = rows[n].group;
      out << "  " << group << ":";
      const TqelPwRec* first = recs[rows[n].index].get();
      for (const char* sep = " "; n < end && rows[n].group == group; ++n, sep = ", ")
        out << sep << recs[rows[n].index]->Site();
      if (passwords) out << "  password: " << first->PW();
      out << '\n';
    }
  }
}

}  // namespace

int RunTotp(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE", "SITE"});
  const std::optional<int> which = WhichOption(ctx);
  TArchiveContent archive = ReadToShow(ctx);
  TqelPwList sites = TakeSites(archive);
  const TqelPwRec& rec = sites.Rec(PickOneSite(sites, ctx.args.positionals[1], which));
  std::optional<TTotpParams> params;
  try {
    const TSecretBytes notes(rec.Note());
    params = TotpFromNotes(notes.view());
  } catch (const ETotpError& e) {
    throw ECliError(kExitFailure, "site \"" + rec.Site() + "\": " + e.what());
  }
  if (!params) {
    throw ECliError(kExitFailure, NoTotpText(rec.Site()));
  }
  const std::int64_t now = UnixNow();
  ctx.out << TotpCode(*params, now);
  if (ctx.args.Has("seconds")) ctx.out << ' ' << TotpSecondsLeft(*params, now);
  ctx.out << '\n';
  return kExitOk;
}

int RunReport(TCliContext& ctx) {
  RequirePositionals(ctx, {"ARCHIVE"});
  TArchiveContent archive = ReadToShow(ctx);
  TqelPwList sites = TakeSites(archive);
  std::vector<std::unique_ptr<TqelPwRec>> recs;
  std::vector<const TqelPwRec*> view;
  for (int i = 0; i < sites.Count(); ++i) {
    recs.push_back(sites.Rec(i).Clone());
    view.push_back(recs.back().get());
  }
  const auto rows = MakePasswordReport(view, ChangeDatesFrom(archive.records), std::chrono::system_clock::now());
  WriteReport(ctx.out, recs, rows, ctx.args.Has("show-passwords"));
  for (auto& rec : recs) rec->Wipe();
  sites.Wipe();
  return kExitOk;
}

}  // namespace cli
