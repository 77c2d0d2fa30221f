#pragma once
// Which site a line is: its name and user name, letter case ignored as the
// site list's collation ignores it.

#include <string>
#include <string_view>

struct TSiteIdentity {
  std::string site;
  std::string user;

  // From a line or from "Site=User".
  static TSiteIdentity Of(std::string_view line);
  // "Site" or "Site (user)", for messages.
  std::string Shown() const;
};

struct TSiteIdentityLess {
  bool operator()(const TSiteIdentity& a, const TSiteIdentity& b) const;
};
