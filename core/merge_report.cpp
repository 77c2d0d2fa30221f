#include "core/merge_report.h"

const char kMergeWithoutRecordsNote[] =
    "A version without change records took part (traditional encryption or an older "
    "program saved it): sites deleted on one side may have come back. Archives encrypted "
    "with AES-256 record their changes and merge without this.";

std::string MergeReportText(const TMergeOutcome& outcome) {
  std::string text;
  auto list = [&text](const char* label, const std::vector<std::string>& sites,
                      const char* after = "") {
    for (const std::string& site : sites) text += std::string(label) + ": " + site + after + "\n";
  };
  list("added", outcome.added);
  list("updated", outcome.updated);
  list("deleted", outcome.deleted);
  list("conflict", outcome.conflicts, " changed on both sides; the newer change was kept");
  return text;
}
