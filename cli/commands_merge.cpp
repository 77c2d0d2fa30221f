// merge: other versions of an archive folded into it, by default the
// conflict copies that file-syncing services left beside it.

#include <algorithm>

#include "archive/storage/conflict_copies.h"
#include "archive/storage/vault_history.h"
#include "archive/storage/vault_save.h"
#include "cli/archive_access.h"
#include "cli/cli_error.h"
#include "cli/command_archive.h"
#include "cli/command_context.h"
#include "core/merge_report.h"
#include "core/site_merge.h"
#include "core/secret_wipe.h"

namespace cli {

namespace {

struct TOtherVersion {
  std::string name;  // as given, or the conflict copy's file name
  TVaultVersion version;
};

TVaultVersion VersionOf(const TArchiveContent& content) {
  return VaultVersion(content.data.str(), content.records, content.dataTime);
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Reads each other version, trying the archive's password first; one that
// cannot be read is named and left out.
std::vector<TOtherVersion> ReadOthers(TCliContext& ctx, const std::vector<std::string>& paths,
                                      const std::string& password, bool& failed) {
  std::vector<TOtherVersion> others;
  for (const std::string& path : paths) {
    try {
      TArchiveContent content = ReadArchive(path, ctx.passwords, &password);
      if (!content.hasSiteList) throw ECliError(kExitNotArchive, NoSiteListText(content));
      others.push_back({path, VersionOf(content)});
      content.data.Clear();
    } catch (const ECliError& e) {
      ctx.err << "vornix-cli: " << path << " not merged, left where it is: " << e.what() << '\n';
      failed = true;
    }
  }
  return others;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

int RunMerge(TCliContext& ctx) {
  if (ctx.args.positionals.empty()) throw EUsageError(ctx.command, "ARCHIVE is missing");
  TArchiveContent archive = ReadForChange(ctx);
  const bool copies = ctx.args.positionals.size() == 1;
  std::vector<std::string> paths(ctx.args.positionals.begin() + 1, ctx.args.positionals.end());
  if (copies) {
    for (const std::string& name : ConflictCopiesOf(archive.path)) {
      paths.push_back(FolderOf(archive.path) + "/" + name);
    }
    if (paths.empty()) {
      ctx.out << "no conflict copies of " << archive.given << '\n';
      return kExitOk;
    }
  }
  bool failed = false;
  const std::vector<TOtherVersion> others = ReadOthers(ctx, paths, archive.password.str(), failed);

  TLockedArchive locked(ctx, archive);
  TVaultVersion ours = VersionOf(locked.Content());
  bool withoutRecords = false;
  for (const TOtherVersion& other : others) {
    TMergeOutcome outcome = MergeVersions(ours, other.version, StampNow(ours.records));
    ctx.out << "merged " << other.name << '\n' << MergeReportText(outcome);
    withoutRecords = withoutRecords || outcome.withoutRecords;
    ours.lines = std::move(outcome.lines);
    ours.records = std::move(outcome.records);
  }
  if (withoutRecords) ctx.out << kMergeWithoutRecordsNote << '\n';
  if (!others.empty()) {
    TqelPwList merged;
    for (const std::string& line : ours.lines) merged.Add(line);
    locked.Save(merged.SaveToText(), *ours.records, locked.SaveOptions());
    merged.Wipe();
  }
  if (copies) {
    const TSaveOptions options = locked.SaveOptions();
    try {
      for (const TOtherVersion& other : others) {
        RetireConflictCopy(locked.Content().path, BaseName(other.name), options.backups);
        ctx.out << "moved " << other.name << " to the backups\n";
      }
      RemoveBackupConflictCopies(locked.Content().path);
    } catch (const std::exception& e) {
      throw ECliError(kExitFailure, e.what());
    }
  }
  return failed ? kExitFailure : kExitOk;
}

}  // namespace cli
