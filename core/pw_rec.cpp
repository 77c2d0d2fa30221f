#include "core/pw_rec.h"

#include <algorithm>
#include <iterator>

#include "core/secret_wipe.h"

namespace {

constexpr char kTab = '\t';
constexpr char kSiteSeparator = '=';

bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimmedView(std::string_view text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsControlOrBlank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), IsControlOrBlank).base();
  if (first >= last) return {};
  return text.substr(static_cast<std::size_t>(first - text.begin()),
                     static_cast<std::size_t>(last - first));
}

// The field at the front of rest, which then starts after its delimiter
// (or is empty).
std::string_view NextField(std::string_view& rest, char delimiter) {
  const std::size_t end = rest.find(delimiter);
  const std::string_view field = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return field;
}

// Overwrites the field in its own buffer: reading many lines into one
// record allocates nothing once the buffers have grown, and a wipe of the
// whole capacity still reaches every value written there.
void AssignKeepingBuffer(std::string& field, std::string_view value) {
  if (value.size() > field.capacity()) ReserveWiping(field, value.size());
  field.assign(value);
}

}  // namespace

std::string EncodeNote(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  // One pass does the four replacements: they never produce a character a
  // later one would act on (a doubled backslash stays doubled).
  for (const char c : text) {
    switch (c) {
      case '\r':
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string DecodeNote(std::string_view encoded) {
  // The stored form holds no CR; removing them first only guards foreign
  // input, and must happen before the scan so "\<CR>n" still reads as "\n".
  std::string plain;
  plain.reserve(encoded.size());
  std::copy_if(encoded.begin(), encoded.end(), std::back_inserter(plain),
               [](char c) { return c != '\r'; });

  std::string out;
  out.reserve(plain.size() + plain.size() / 16);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    char c = plain[i];
    if (c == '\\' && i + 1 < plain.size()) {
      const char e = plain[i + 1];
      if (e == '\\') {
        ++i;
      } else if (e == 'n' || e == 'N') {
        c = '\n', ++i;
      } else if (e == 't' || e == 'T') {
        c = kTab, ++i;
      }
    }
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

int FieldCount(std::string_view text, char delimiter) {
  return static_cast<int>(std::count(text.begin(), text.end(), delimiter)) + 1;
}

std::string ExtractField(int n, std::string_view text, char delimiter) {
  if (n <= 0) return {};
  std::size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const std::size_t tab = text.find(delimiter, start);
    if (tab == std::string_view::npos) return {};
    start = tab + 1;
  }
  const std::size_t end = text.find(delimiter, start);
  return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

std::string TrimControls(std::string_view text) { return std::string(TrimmedView(text)); }

std::string TqelPwRec::Note() const { return DecodeNote(note_); }

void TqelPwRec::SetSite(std::string_view value) { site_ = TrimControls(value); }
void TqelPwRec::SetUser(std::string_view value) { user_ = TrimControls(value); }
void TqelPwRec::SetPW(std::string_view value) {
  std::string exact(value);  // value may view pw_ itself
  // The old password's buffer is wiped before it is given up.
  WipeString(pw_);
  pw_ = std::move(exact);
}
void TqelPwRec::SetURL(std::string_view value) { url_ = TrimControls(value); }
void TqelPwRec::SetNote(std::string_view value) { note_ = EncodeNote(TrimControls(value)); }

std::string TqelPwRec::Line() const {
  std::string line;
  line.reserve(site_.size() + user_.size() + pw_.size() + url_.size() + note_.size() + 4);
  line += site_;
  line += kSiteSeparator;
  line += user_;
  line += kTab;
  line += pw_;
  line += kTab;
  line += url_;
  line += kTab;
  line += note_;
  return line;
}

std::string_view SiteNameOf(std::string_view line) {
  const std::size_t eq = line.find(kSiteSeparator);
  return eq == std::string_view::npos ? std::string_view() : TrimmedView(line.substr(0, eq));
}

void TqelPwRec::SetLine(std::string_view line) {
  const std::size_t eq = line.find(kSiteSeparator);
  std::string_view rest = eq == std::string_view::npos ? line : line.substr(eq + 1);
  AssignKeepingBuffer(site_, SiteNameOf(line));
  AssignKeepingBuffer(user_, TrimmedView(NextField(rest, kTab)));
  // The password is kept exactly, blanks at its ends included.
  AssignKeepingBuffer(pw_, NextField(rest, kTab));
  AssignKeepingBuffer(url_, TrimmedView(NextField(rest, kTab)));
  // The line already carries the encoded notes: stored as they are.
  AssignKeepingBuffer(note_, NextField(rest, kTab));
}

std::unique_ptr<TqelPwRec> TqelPwRec::Clone() const {
  auto copy = std::make_unique<TqelPwRec>();
  copy->SetLine(Line());
  return copy;
}

void TqelPwRec::Wipe() {
  for (std::string* field : {&pw_, &user_, &site_, &url_, &note_}) WipeString(*field);
}
