#pragma once
// Comma-separated values as RFC 4180 describes them: a field holding a comma,
// a double quote, CR or LF is enclosed in double quotes, with inner quotes
// doubled; records end with CR LF. The reader also accepts LF or a lone CR as
// record ends, and line breaks of any kind inside quoted fields.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace interchange {

using TCsvRecord = std::vector<std::string>;

// A malformed CSV text; Line() is the 1-based line where the fault is.
class ECsvError : public std::runtime_error {
 public:
  ECsvError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

std::string CsvField(std::string_view field);
// The fields joined by commas, followed by CR LF.
std::string CsvRecordText(const TCsvRecord& fields);

struct TCsvRow {
  int line = 0;  // the line the record starts on
  TCsvRecord fields;
};

// The records of a text one at a time, so that a large file is never held
// as records all at once. A text ending with a line break has no empty last
// record. Next throws ECsvError for an unclosed quoted field or text after a
// closing quote.
class TCsvRows {
 public:
  explicit TCsvRows(std::string_view text) : text_(text) {}
  // Reads the next record into row; false at the end of the text.
  bool Next(TCsvRow& row);

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }
  bool AtLineBreak() const { return !AtEnd() && (Peek() == '\r' || Peek() == '\n'); }
  void SkipLineBreak();
  void ReadField(std::string& field);
  void ReadQuotedField(std::string& field);

  std::string_view text_;
  std::size_t pos_ = 0;  // the next unread character
  int line_ = 1;
};

// Every record of the text, as TCsvRows reads them.
std::vector<TCsvRow> ParseCsv(std::string_view text);

}  // namespace interchange
