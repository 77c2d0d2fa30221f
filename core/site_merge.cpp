#include "core/site_merge.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/site_identity.h"

namespace {

struct TSideLine {
  std::string line;
  std::string print;
  TLineStamp stamp;
  bool dropped = false;
};

struct TSide {
  std::vector<TSideLine> lines;
  std::vector<const TTombstone*> tombstones;
};

struct TSiteGroup {
  TSide ours, theirs;
};

using TGroups = std::map<TSiteIdentity, TSiteGroup, TSiteIdentityLess>;

void AddVersion(TGroups& groups, const TVaultVersion& version, TSide TSiteGroup::*side) {
  for (const std::string& line : version.lines) {
    TSideLine entry{line, LineFingerprint(line), {}};
    entry.stamp = {0, entry.print};
    if (version.records) {
      const auto found = version.records->lines.find(entry.print);
      if (found != version.records->lines.end()) entry.stamp = found->second;
    }
    (groups[TSiteIdentity::Of(line)].*side).lines.push_back(std::move(entry));
  }
  if (!version.records) return;
  for (const TTombstone& gone : version.records->tombstones) {
    (groups[TSiteIdentity::Of(gone.identity)].*side).tombstones.push_back(&gone);
  }
}

bool Has(const TSide& side, const std::string& print) {
  return std::any_of(side.lines.begin(), side.lines.end(),
                     [&](const TSideLine& l) { return l.print == print; });
}

// A line the other side removed after it last changed: that side removed
// this very version (by an edit or a deletion), or deleted the site it was
// edited from.
bool RemovedLater(const TSideLine& line, const std::vector<const TTombstone*>& tombstones) {
  return std::any_of(tombstones.begin(), tombstones.end(), [&](const TTombstone* gone) {
    const bool same = gone->fingerprint == line.print ||
                      (gone->deleted && gone->family == line.stamp.family);
    return same && gone->removed >= line.stamp.changed;
  });
}

class TGroupMerge {
 public:
  TGroupMerge(TSiteGroup& group, const TVaultVersion& ours, const TVaultVersion& theirs,
              TStampTime now, TMergeOutcome& outcome)
      : group_(group), ours_(ours), theirs_(theirs), now_(now), outcome_(outcome) {}

  // The lines of this site that the merge keeps.
  std::vector<const TSideLine*> Run(const TSiteIdentity& identity) {
    std::vector<TSideLine*> ourOnly, theirOnly;
    for (TSideLine& line : group_.ours.lines) {
      if (!Has(group_.theirs, line.print)) ourOnly.push_back(&line);
    }
    for (TSideLine& line : group_.theirs.lines) {
      if (Has(group_.ours, line.print)) {
        line.dropped = true;  // ours holds it; the later stamp goes with ours
        MergeStamp(line);
      } else {
        theirOnly.push_back(&line);
      }
    }
    for (TSideLine* line : ourOnly) line->dropped = RemovedLater(*line, group_.theirs.tombstones);
    for (TSideLine* line : theirOnly) line->dropped = RemovedLater(*line, group_.ours.tombstones);
    if (SettleEditsOnBothSides(ourOnly, theirOnly)) outcome_.conflicts.push_back(identity.Shown());
    SettleUnrecorded(ourOnly, theirOnly);
    std::vector<const TSideLine*> kept;
    for (const TSide* side : {&group_.ours, &group_.theirs}) {
      for (const TSideLine& line : side->lines) {
        if (!line.dropped) kept.push_back(&line);
      }
    }
    return kept;
  }

 private:
  void MergeStamp(const TSideLine& theirs) {
    for (TSideLine& line : group_.ours.lines) {
      if (line.print == theirs.print) line.stamp.changed = std::max(line.stamp.changed, theirs.stamp.changed);
    }
  }

  void Lose(TSideLine& line) {
    line.dropped = true;
    outcome_.records.tombstones.push_back(
        {LineIdentity(line.line), line.print, line.stamp.family, now_, false});
  }

  // Two edits of one line, one on each side: the newer stays.
  bool SettleEditsOnBothSides(std::vector<TSideLine*>& ourOnly, std::vector<TSideLine*>& theirOnly) {
    bool conflict = false;
    for (TSideLine* our : ourOnly) {
      for (TSideLine* their : theirOnly) {
        if (our->dropped || their->dropped || our->stamp.family != their->stamp.family) continue;
        Lose(their->stamp.changed > our->stamp.changed ? *our : *their);
        conflict = true;
      }
    }
    return conflict;
  }

  // Lines without records on both sides tell nothing of which came later:
  // the version whose site list is newer wins.
  void SettleUnrecorded(std::vector<TSideLine*>& ourOnly, std::vector<TSideLine*>& theirOnly) {
    auto unrecorded = [](const std::vector<TSideLine*>& lines) {
      std::vector<TSideLine*> found;
      for (TSideLine* line : lines) {
        if (!line->dropped && line->stamp.changed == 0) found.push_back(line);
      }
      return found;
    };
    const auto our = unrecorded(ourOnly);
    const auto their = unrecorded(theirOnly);
    if (our.empty() || their.empty()) return;
    for (TSideLine* line : theirs_.dataTime > ours_.dataTime ? our : their) Lose(*line);
  }

  TSiteGroup& group_;
  const TVaultVersion& ours_;
  const TVaultVersion& theirs_;
  TStampTime now_;
  TMergeOutcome& outcome_;
};

void Report(const TSiteIdentity& identity, const TSide& ours,
            const std::vector<const TSideLine*>& kept, TMergeOutcome& outcome) {
  std::set<std::string> before, after;
  for (const TSideLine& line : ours.lines) before.insert(line.print);
  for (const TSideLine* line : kept) after.insert(line->print);
  if (before == after) return;
  auto& list = before.empty() ? outcome.added : after.empty() ? outcome.deleted : outcome.updated;
  list.push_back(identity.Shown());
}

// Both sides' tombstones, once each (the later time), none for a line kept.
void KeepTombstones(const TGroups& groups, TMergeOutcome& outcome) {
  std::map<std::pair<std::string, bool>, TTombstone> unique;
  auto add = [&](const TTombstone& gone) {
    auto [at, inserted] = unique.try_emplace({gone.fingerprint, gone.deleted}, gone);
    if (!inserted) at->second.removed = std::max(at->second.removed, gone.removed);
  };
  for (const TTombstone& gone : outcome.records.tombstones) add(gone);
  for (const auto& [identity, group] : groups) {
    for (const TSide* side : {&group.ours, &group.theirs}) {
      for (const TTombstone* gone : side->tombstones) add(*gone);
    }
  }
  outcome.records.tombstones.clear();
  for (auto& [key, gone] : unique) {
    if (!outcome.records.lines.count(gone.fingerprint)) {
      outcome.records.tombstones.push_back(std::move(gone));
    }
  }
}

}  // namespace

TMergeOutcome MergeVersions(const TVaultVersion& ours, const TVaultVersion& theirs,
                            TStampTime now) {
  TGroups groups;
  AddVersion(groups, ours, &TSiteGroup::ours);
  AddVersion(groups, theirs, &TSiteGroup::theirs);
  TMergeOutcome outcome;
  outcome.withoutRecords = !ours.records || !theirs.records;
  for (auto& [identity, group] : groups) {
    const std::vector<const TSideLine*> kept =
        TGroupMerge(group, ours, theirs, now, outcome).Run(identity);
    for (const TSideLine* line : kept) {
      outcome.lines.push_back(line->line);
      outcome.records.lines[line->print] = line->stamp;
    }
    Report(identity, group.ours, kept, outcome);
  }
  KeepTombstones(groups, outcome);
  return outcome;
}
