#include "cli/site_match.h"

#include "cli/cli_error.h"
#include "core/collation.h"
#include "core/pw_list.h"

namespace cli {

std::vector<int> FindSites(TqelPwList& list, std::string_view name) {
  const std::string wanted = TrimControls(name);
  std::vector<int> matches;
  for (int i = 0; i < list.Count(); ++i) {
    if (CollateCompare(list.Rec(i).Site(), wanted) == 0) matches.push_back(i);
  }
  return matches;
}

namespace {

std::string DescribeMatches(TqelPwList& list, const std::vector<int>& matches) {
  std::string text;
  for (std::size_t n = 0; n < matches.size(); ++n) {
    const TqelPwRec& rec = list.Rec(matches[n]);
    text += "\n  " + std::to_string(n + 1) + ": " + rec.Site() + " (user name \"" + rec.User() +
            "\", URL \"" + rec.URL() + "\")";
  }
  return text;
}

// The text in double quotes. (Appending keeps GCC 12 from a false
// -Wrestrict warning that `"\"" + text` draws in optimised builds.)
std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

}  // namespace

int PickOneSite(TqelPwList& list, std::string_view name, std::optional<int> which) {
  const std::vector<int> matches = FindSites(list, name);
  const std::string quoted = Quoted(TrimControls(name));
  if (matches.empty()) throw ECliError(kExitFailure, "no site is named " + quoted);
  if (which) {
    if (*which < 1 || *which > static_cast<int>(matches.size())) {
      throw ECliError(kExitFailure, "--which " + std::to_string(*which) +
                                        " is out of range: " + std::to_string(matches.size()) +
                                        " sites are named " + quoted);
    }
    return matches[*which - 1];
  }
  if (matches.size() > 1) {
    throw ECliError(kExitFailure,
                    std::to_string(matches.size()) + " sites are named " + quoted +
                        "; choose one with --which N:" + DescribeMatches(list, matches));
  }
  return matches.front();
}

}  // namespace cli
