#include "interchange/csv.h"

namespace interchange {

std::string CsvField(std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string CsvRecordText(const TCsvRecord& fields) {
  std::string text;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) text += ',';
    text += CsvField(fields[i]);
  }
  text += "\r\n";
  return text;
}

namespace {

// Reads records one character at a time; pos_ always points at the next
// unread character.
class TCsvReader {
 public:
  explicit TCsvReader(std::string_view text) : text_(text) {}

  std::vector<TCsvRow> ReadAll() {
    std::vector<TCsvRow> rows;
    while (pos_ < text_.size()) rows.push_back(ReadRecord());
    return rows;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }
  bool AtLineBreak() const { return !AtEnd() && (Peek() == '\r' || Peek() == '\n'); }

  // Consumes one CR LF, LF or CR.
  void SkipLineBreak() {
    if (Peek() == '\r') ++pos_;
    if (!AtEnd() && Peek() == '\n') ++pos_;
    ++line_;
  }

  TCsvRow ReadRecord() {
    TCsvRow row;
    row.line = line_;
    for (;;) {
      row.fields.push_back(ReadField());
      if (AtEnd()) break;
      if (AtLineBreak()) {
        SkipLineBreak();
        break;
      }
      ++pos_;  // the comma
    }
    return row;
  }

  std::string ReadField() {
    if (!AtEnd() && Peek() == '"') return ReadQuotedField();
    // An unquoted field runs to the next comma or line break; a stray quote
    // inside it is taken literally, as most tools write it.
    const std::size_t start = pos_;
    while (!AtEnd() && Peek() != ',' && !AtLineBreak()) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  std::string ReadQuotedField() {
    const int startLine = line_;
    ++pos_;  // the opening quote
    std::string field;
    for (;;) {
      if (AtEnd()) throw ECsvError(startLine, "a quoted field is not closed");
      const char c = text_[pos_++];
      if (c == '"') {
        if (!AtEnd() && Peek() == '"') {
          field += '"';
          ++pos_;
          continue;
        }
        if (!AtEnd() && Peek() != ',' && !AtLineBreak()) {
          throw ECsvError(line_, "unexpected text after a closing quote");
        }
        return field;
      }
      if (c == '\n' || (c == '\r' && (AtEnd() || Peek() != '\n'))) ++line_;
      field += c;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

std::vector<TCsvRow> ParseCsv(std::string_view text) { return TCsvReader(text).ReadAll(); }

}  // namespace interchange
