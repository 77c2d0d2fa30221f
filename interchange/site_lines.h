#pragma once
// Imported sites as the site lines an archive holds, checked against the
// site rules: what the rules cannot hold refuses the record (or is replaced
// with fix), and every change made on the way is reported. Both the window
// and the command line import through this.

#include <string>
#include <vector>

#include "interchange/site_import.h"

namespace interchange {

struct TImportIssue {
  std::string where;  // "line 12" or "item 3"
  std::string message;
};

struct TSiteLines {
  std::vector<std::string> lines;      // in the file's order
  std::vector<TImportIssue> refused;   // records left out, with the rule they break
  std::vector<TImportIssue> changes;   // what was changed in the records kept
};

// Site name, user name and URL lose blanks and control characters at their
// ends, each reported as a change. The password and the notes are kept
// exactly, since a changed password no longer logs in; a password the site
// line cannot hold (a TAB or line break) refuses the record. With fix, a
// record that breaks a rule is repaired as FixSiteFields does, each repair
// reported, and kept.
TSiteLines SiteLinesOf(const TSiteImport& imported, bool fix);
// The same for one site, added to result: for sites read one at a time.
void AddSiteLine(TSiteLines& result, const TImportedSite& site, bool fix);

}  // namespace interchange
