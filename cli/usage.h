#pragma once
// The usage texts: one for the whole program, in the manner of a manual page,
// and one for each command.

#include <string>
#include <string_view>

namespace cli {

std::string GeneralUsage();
// The text of one command; the general usage for an unknown name.
std::string CommandUsage(std::string_view command);

}  // namespace cli
