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

// Consumes one CR LF, LF or CR.
void TCsvRows::SkipLineBreak() {
  if (Peek() == '\r') ++pos_;
  if (!AtEnd() && Peek() == '\n') ++pos_;
  ++line_;
}

bool TCsvRows::Next(TCsvRow& row) {
  if (AtEnd()) return false;
  row.line = line_;
  // The fields' strings are reused from the last record: reading a large
  // file allocates little.
  std::size_t count = 0;
  for (;;) {
    if (count == row.fields.size()) row.fields.emplace_back();
    ReadField(row.fields[count++]);
    if (AtEnd()) break;
    if (AtLineBreak()) {
      SkipLineBreak();
      break;
    }
    ++pos_;  // the comma
  }
  row.fields.resize(count);
  return true;
}

void TCsvRows::ReadField(std::string& field) {
  if (!AtEnd() && Peek() == '"') return ReadQuotedField(field);
  // An unquoted field runs to the next comma or line break; a stray quote
  // inside it is taken literally, as most tools write it.
  const std::size_t start = pos_;
  while (!AtEnd() && Peek() != ',' && !AtLineBreak()) ++pos_;
  field.assign(text_.substr(start, pos_ - start));
}

void TCsvRows::ReadQuotedField(std::string& field) {
  const int startLine = line_;
  ++pos_;  // the opening quote
  field.clear();
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
      return;
    }
    if (c == '\n' || (c == '\r' && (AtEnd() || Peek() != '\n'))) ++line_;
    field += c;
  }
}

std::vector<TCsvRow> ParseCsv(std::string_view text) {
  std::vector<TCsvRow> rows;
  TCsvRows reader(text);
  TCsvRow row;
  while (reader.Next(row)) rows.push_back(row);
  return rows;
}

}  // namespace interchange
