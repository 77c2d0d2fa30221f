#pragma once
// The site rules as the command line applies them: a broken rule ends the
// command with a data error.

#include "core/site_fields.h"

namespace cli {

using ::CheckSiteFields;
using ::FieldsOf;
using ::StoreFields;
using ::ToLfLineBreaks;
using ::TSiteFields;

// Throws ECliError (data error) with CheckSiteFields' message.
void RequireValidSite(const TSiteFields& fields);

}  // namespace cli
