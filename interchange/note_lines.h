#pragma once
// Lines imports add to a site's notes for what a site has no field of its
// own for. A site keeps its one-time password in the notes, on a line of its own:
// "TOTP: " and the secret or otpauth:// URI, or a bare otpauth:// URI. Imports
// write that line from a format's TOTP field and exports take it back out.

#include <string>
#include <string_view>

namespace interchange {

// Adds "label: value" (the value alone for no label) on a line of its own;
// nothing for an empty value.
void AppendNoteLine(std::string& notes, std::string_view label, std::string_view value);

// The notes with the TOTP line added at their end; unchanged for no TOTP.
std::string NotesWithTotp(std::string notes, std::string_view totp);

struct TNotesTotp {
  std::string notes;  // without the TOTP line
  std::string totp;   // the secret or URI; empty when the notes have none
};

// Takes the first TOTP line out of the notes.
TNotesTotp SplitTotp(std::string_view notes);

// The otpauth:// URI for a TOTP value: unchanged when it is one already, else
// a bare secret labelled with the site's name.
std::string TotpUri(std::string_view totp, std::string_view label);

}  // namespace interchange
