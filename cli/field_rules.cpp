#include "cli/field_rules.h"

#include "cli/cli_error.h"

namespace cli {

void RequireValidSite(const TSiteFields& fields) {
  if (auto message = CheckSiteFields(fields)) throw ECliError(kExitDataError, *message);
}

}  // namespace cli
