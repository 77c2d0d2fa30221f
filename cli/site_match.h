#pragma once
// Finding sites by name. A name matches a site whose name equals it but for
// letter case (the same comparison that orders the list); the name given is
// trimmed like a stored site name first.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TqelPwList;

namespace cli {

// Indexes of the matching lines, in list order.
std::vector<int> FindSites(TqelPwList& list, std::string_view name);

// The one site a changing command acts on. `which` (1-based) picks one of
// several matches. Throws ECliError when nothing matches, when several match
// and `which` is not given (the message lists them), or when `which` is out
// of range.
int PickOneSite(TqelPwList& list, std::string_view name, std::optional<int> which);

}  // namespace cli
