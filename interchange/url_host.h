#pragma once
// The host part of a web address, which names a site when nothing else does.

#include <string>
#include <string_view>

namespace interchange {

// "https://joe@mail.example.com:8443/inbox" -> "mail.example.com"; an address
// without a scheme is read from its start ("example.com/login"). Empty when
// there is no host.
std::string UrlHost(std::string_view url);

}  // namespace interchange
