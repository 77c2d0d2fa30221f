#include "core/pw_list.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "core/collation.h"
#include "core/secret_wipe.h"

namespace {

// Collation order, ties broken by bytes: lines that differ only in letter
// case are both kept, in a fixed order, and only identical lines are equal.
int CompareLines(std::string_view a, std::string_view b) {
  const int collated = CollateCompare(a, b);
  if (collated != 0) return collated;
  return a.compare(b);
}

// A line's collation key beside its place in the list being sorted.
struct TKeyedLine {
  TCollationKey key;
  std::uint32_t index;
};

// Sorts the lines as adding them one by one would and drops identical ones.
// Each line's key is made once, so its text is read once; input already in
// order (as archives are saved) costs one key comparison per line.
void SortDistinct(std::vector<std::string>& lines) {
  std::vector<TKeyedLine> keyed(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    keyed[i] = TKeyedLine{CollationKeyOf(lines[i]), static_cast<std::uint32_t>(i)};
  }
  const auto order = [&lines](const TKeyedLine& a, const TKeyedLine& b) {
    const std::string& lineA = lines[a.index];
    const std::string& lineB = lines[b.index];
    const int collated = CompareCollated(a.key, lineA, b.key, lineB);
    return collated != 0 ? collated : lineA.compare(lineB);
  };
  const auto notAscending = [&order](const TKeyedLine& a, const TKeyedLine& b) {
    return order(a, b) >= 0;
  };
  if (std::adjacent_find(keyed.begin(), keyed.end(), notAscending) == keyed.end()) return;
  std::sort(keyed.begin(), keyed.end(),
            [&order](const TKeyedLine& a, const TKeyedLine& b) { return order(a, b) < 0; });
  std::vector<std::string> sorted;
  sorted.reserve(lines.size());
  for (const TKeyedLine& item : keyed) {
    std::string& line = lines[item.index];
    if (!sorted.empty() && sorted.back() == line) {
      WipeString(line);
    } else {
      sorted.push_back(std::move(line));
    }
  }
  lines = std::move(sorted);
}

// Splits at CR, LF or NUL: CR then an optional LF end one line, so LF CR
// ends a line and then an empty one; a NUL ends the text; a final line
// break yields no empty last line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] != '\0') {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n' && text[end] != '\0') ++end;
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

}  // namespace

const std::string& TqelPwList::operator[](int index) const {
  if (index < 0 || index >= Count()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  }
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

void TqelPwList::LoadFromText(std::string_view text) {
  lines_ = SplitLines(text);
  // Adding the lines one by one gives the sorted set of distinct lines; a
  // sort reaches the same result without the quadratic inserts of unsorted
  // input.
  SortDistinct(lines_);
}

int TqelPwList::Add(std::vector<std::string> lines) {
  const int before = Count();
  lines_.reserve(lines_.size() + lines.size());
  for (std::string& line : lines) lines_.push_back(std::move(line));
  SortDistinct(lines_);
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

TqelPwRec& TqelPwList::Rec(int index) {
  scratch_.SetLine((*this)[index]);
  return scratch_;
}

void TqelPwList::Wipe() {
  for (std::string& line : lines_) WipeString(line);
  lines_.clear();
  scratch_.Wipe();
}
