#pragma once
// The rules a site must meet before it is stored: a site line has no way to
// hold "=" in the site name, nor a TAB or a line break in the site name, user
// name, password or URL (the line would read back with its fields shifted or
// split). A NUL byte ends the archive's text when it is read back, so no
// field may hold one.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TqelPwRec;

// The field values as the user gave them (not yet trimmed).
struct TSiteFields {
  std::string site, user, password, url, notes;
};

// The message for the first rule the values break, if any, as the record
// will hold them: names and URL trimmed, the password exactly as given.
std::optional<std::string> CheckSiteFields(const TSiteFields& fields);

// Replaces what a site line cannot hold by blanks (an "=" in the site name, a
// TAB or line break in a single-line field, a NUL anywhere) and returns one
// description per field changed, e.g. "user name: line break replaced".
std::vector<std::string> FixSiteFields(TSiteFields& fields);

// The record's fields, notes decoded with LF line breaks.
TSiteFields FieldsOf(const TqelPwRec& rec);
// Writes the fields through the record's setters (which trim all but the
// password).
void StoreFields(const TSiteFields& fields, TqelPwRec& rec);

// Notes with every CR LF (and lone CR) turned into LF.
std::string ToLfLineBreaks(std::string_view text);
