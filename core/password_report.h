#pragma once
// The password report: sites whose password is empty, weak (below
// kWeakPasswordBits), shared with other sites, or unchanged for more than a
// year where the change date is known. Shared by the window and the CLI.

#include <chrono>
#include <string_view>
#include <vector>

#include "core/change_date.h"

class TqelPwRec;

enum class TPasswordIssue { Empty, Weak, Reused, Old };

// Older than this, a known change date makes the password "old".
inline constexpr std::chrono::days kOldPasswordAge{365};

struct TReportRow {
  TPasswordIssue issue;
  int index;      // into the sites the report was made from
  int group = 0;  // Reused: the 1-based group of sites sharing one password
  std::optional<TChangeTime> changed;
};

// Rows in issue order (empty, weak, reused by group, old), each kind in the
// order of `sites`. An empty password is listed as empty only; a site may be
// listed as weak, reused and old at once.
std::vector<TReportRow> MakePasswordReport(const std::vector<const TqelPwRec*>& sites,
                                           const TChangeDateFn& changed, TChangeTime now);

inline constexpr char kNoPasswordProblems[] = "No empty, weak, reused or old passwords.";

// What the issue is called in the window and the CLI ("Weak password").
std::string_view IssueText(TPasswordIssue issue);
