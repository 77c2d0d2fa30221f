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

// Every record of the text. A text ending with a line break has no empty last
// record. Throws ECsvError for an unclosed quoted field or text after a
// closing quote.
std::vector<TCsvRow> ParseCsv(std::string_view text);

}  // namespace interchange
