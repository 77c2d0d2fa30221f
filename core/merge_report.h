#pragma once
// What a merge tells the user, the same words in the window and the CLI.

#include <string>

#include "core/site_merge.h"

// One line per site: "added: NAME", "updated: NAME", "deleted: NAME" and
// "conflict: NAME changed on both sides; the newer change was kept".
// Empty when the merge changed nothing and found no conflict.
std::string MergeReportText(const TMergeOutcome& outcome);

// Said once when a version without change records took part.
extern const char kMergeWithoutRecordsNote[];
