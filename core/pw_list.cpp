#include "core/pw_list.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "core/collation.h"
#include "core/collation_order.h"
#include "core/secret_wipe.h"

namespace {

// Collation order, ties broken by bytes: lines that differ only in letter
// case are both kept, in a fixed order, and only identical lines are equal.
int CompareLines(std::string_view a, std::string_view b) {
  const int collated = CollateCompare(a, b);
  if (collated != 0) return collated;
  return a.compare(b);
}

// Lines from this many places ahead are asked of memory while a line is
// copied: sorted places of a shuffled text are far apart, and reading them
// one at a time would wait for memory at each.
constexpr std::size_t kPrefetchAhead = 8;

void Prefetch(std::string_view line) {
  if (line.empty()) return;
  __builtin_prefetch(line.data());
  __builtin_prefetch(line.data() + line.size() - 1);
}

// Calls take(i) for the place i of each distinct line, in list order.
template <typename Take>
void ForEachDistinct(const std::vector<std::string_view>& lines, Take take) {
  const std::vector<std::uint32_t> order = CollationOrder(lines, TCollationTies::Bytes);
  for (std::size_t n = 0; n < order.size(); ++n) {
    // The place's view first, its text when the view has arrived.
    if (n + 2 * kPrefetchAhead < order.size()) __builtin_prefetch(&lines[order[n + 2 * kPrefetchAhead]]);
    if (n + kPrefetchAhead < order.size()) Prefetch(lines[order[n + kPrefetchAhead]]);
    // Identical lines are neighbours in that order; the last of them is
    // taken, so a line is compared before take() may have moved it.
    if (n + 1 < order.size() && lines[order[n]] == lines[order[n + 1]]) continue;
    take(order[n]);
  }
}

// Splits at CR, LF or NUL: CR then an optional LF end one line, so LF CR
// ends a line and then an empty one; a NUL ends the text; a final line
// break yields no empty last line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] != '\0') {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n' && text[end] != '\0') ++end;
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

}  // namespace

std::vector<std::string_view> SiteLineViews(std::string_view text) { return SplitLines(text); }

void TqelPwList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  }
}

const std::string& TqelPwList::operator[](int index) const {
  CheckIndex(index);
  return lines_[static_cast<std::size_t>(index)];
}

int TqelPwList::Add(std::string_view line) {
  // Archives are saved sorted, so a line usually belongs at the end.
  if (lines_.empty() || CompareLines(lines_.back(), line) < 0) {
    lines_.emplace_back(line);
    return Count() - 1;
  }
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int order = CompareLines(lines_[static_cast<std::size_t>(middle)], line);
    if (order < 0) {
      low = middle + 1;
    } else if (order > 0) {
      high = middle - 1;
    } else {
      return middle;
    }
  }
  lines_.emplace(lines_.begin() + low, line);
  return low;
}

void TqelPwList::Remove(int index) {
  CheckIndex(index);
  WipeString(lines_[static_cast<std::size_t>(index)]);
  lines_.erase(lines_.begin() + index);
}

void TqelPwList::LoadFromText(std::string_view text) {
  // Sorted as the text's lines, then made in that order: walking the list
  // reads memory forward, and unsorted text costs no second copy.
  const std::vector<std::string_view> views = SplitLines(text);
  Wipe();
  lines_.reserve(views.size());
  ForEachDistinct(views, [&](std::uint32_t index) { lines_.emplace_back(views[index]); });
}

int TqelPwList::Add(std::vector<std::string> lines) {
  const int before = Count();
  lines_.reserve(lines_.size() + lines.size());
  for (std::string& line : lines) lines_.push_back(std::move(line));
  const std::vector<std::string_view> views(lines_.begin(), lines_.end());
  std::vector<std::string> sorted;
  sorted.reserve(lines_.size());
  ForEachDistinct(views, [&](std::uint32_t index) { sorted.push_back(std::move(lines_[index])); });
  // What is left are the identical copies of lines kept.
  for (std::string& line : lines_) WipeString(line);
  lines_ = std::move(sorted);
  return Count() - before;
}

std::vector<std::unique_ptr<TqelPwRec>> TqelPwList::TakeRecords() {
  std::vector<std::unique_ptr<TqelPwRec>> recs;
  recs.reserve(lines_.size());
  for (std::string& line : lines_) {
    auto rec = std::make_unique<TqelPwRec>();
    rec->SetLine(line);
    recs.push_back(std::move(rec));
    // Freed at once, so the records reuse the lines' memory.
    WipeString(line);
    line.shrink_to_fit();
  }
  lines_.clear();
  lines_.shrink_to_fit();
  return recs;
}

void TqelPwList::LoadFromStream(std::istream& in) {
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  LoadFromText(text);
}

std::string TqelPwList::SaveToText() const {
  std::string text;
  std::size_t size = 0;
  for (const std::string& line : lines_) size += line.size() + 2;
  text.reserve(size);
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TqelPwList::SaveToStream(std::ostream& out) const {
  const std::string text = SaveToText();
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::vector<std::string> TqelPwList::TakeLines() {
  std::vector<std::string> lines = std::move(lines_);
  lines_.clear();
  return lines;
}

std::string TqelPwList::TakeText() {
  std::string text;
  std::size_t size = 0;
  for (const std::string& line : lines_) size += line.size() + 2;
  text.reserve(size);
  for (std::string& line : lines_) {
    text += line;
    text += "\r\n";
    WipeString(line);
    line.shrink_to_fit();
  }
  lines_.clear();
  return text;
}

TqelPwRec& TqelPwList::Rec(int index) {
  scratch_.SetLine((*this)[index]);
  return scratch_;
}

void TqelPwList::Wipe() {
  for (std::string& line : lines_) WipeString(line);
  lines_.clear();
  scratch_.Wipe();
}
