#include "core/password_report.h"

#include <map>
#include <string>

#include "core/password_strength.h"
#include "core/pw_rec.h"

namespace {

void AddRows(std::vector<TReportRow>& rows, TPasswordIssue issue, const std::vector<int>& indexes,
             const std::vector<std::optional<TChangeTime>>& dates, int group = 0) {
  for (int index : indexes) rows.push_back({issue, index, group, dates[index]});
}

}  // namespace

std::vector<TReportRow> MakePasswordReport(const std::vector<const TqelPwRec*>& sites,
                                           const TChangeDateFn& changed, TChangeTime now) {
  const int count = static_cast<int>(sites.size());
  std::vector<std::optional<TChangeTime>> dates(sites.size());
  std::vector<int> empty, weak, old;
  // Sites by password, in the order each password is first met.
  std::map<std::string_view, std::vector<int>> byPassword;
  std::vector<std::string_view> firstMet;
  for (int i = 0; i < count; ++i) {
    const TqelPwRec& rec = *sites[i];
    dates[i] = changed ? changed(rec) : std::nullopt;
    if (dates[i] && now - *dates[i] > kOldPasswordAge) old.push_back(i);
    if (rec.PW().empty()) {
      empty.push_back(i);
      continue;
    }
    if (IsWeakPassword(rec.PW())) weak.push_back(i);
    std::vector<int>& same = byPassword[rec.PW()];
    if (same.empty()) firstMet.push_back(rec.PW());
    same.push_back(i);
  }
  std::vector<TReportRow> rows;
  AddRows(rows, TPasswordIssue::Empty, empty, dates);
  AddRows(rows, TPasswordIssue::Weak, weak, dates);
  int group = 0;
  for (std::string_view password : firstMet) {
    const std::vector<int>& same = byPassword[password];
    if (same.size() > 1) AddRows(rows, TPasswordIssue::Reused, same, dates, ++group);
  }
  AddRows(rows, TPasswordIssue::Old, old, dates);
  return rows;
}

std::string_view IssueText(TPasswordIssue issue) {
  switch (issue) {
    case TPasswordIssue::Empty:
      return "Empty password";
    case TPasswordIssue::Weak:
      return "Weak password";
    case TPasswordIssue::Reused:
      return "Reused password";
    case TPasswordIssue::Old:
      break;
  }
  return "Unchanged for over a year";
}
