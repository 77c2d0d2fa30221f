#include "core/site_identity.h"

#include "core/collation.h"
#include "core/pw_rec.h"

TSiteIdentity TSiteIdentity::Of(std::string_view line) {
  TqelPwRec rec;
  rec.SetLine(line);
  TSiteIdentity identity{rec.Site(), rec.User()};
  rec.Wipe();
  return identity;
}

std::string TSiteIdentity::Shown() const { return user.empty() ? site : site + " (" + user + ")"; }

bool TSiteIdentityLess::operator()(const TSiteIdentity& a, const TSiteIdentity& b) const {
  if (const int bySite = CollateCompare(a.site, b.site); bySite != 0) return bySite < 0;
  return CollateCompare(a.user, b.user) < 0;
}
