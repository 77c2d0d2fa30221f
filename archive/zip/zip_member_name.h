#pragma once
// The name a member is stored under.

#include <string>

// Drops a drive part, one leading backslash and leading "..\" parts, and
// turns backslashes into "/". "Data" stays "Data". Names are UTF-8 bytes and
// are stored as given otherwise.
std::string NormaliseMemberName(const std::string& name);
