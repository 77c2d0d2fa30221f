#pragma once
// A site record and its one-line text form:
//   Site "=" User TAB PW TAB URL TAB encoded-Note
// Fields are byte strings (UTF-8 here, Windows-1252 in old archives); this
// layer never decodes them.

#include <memory>
#include <string>
#include <string_view>

// Notes escaping: CR removed, "\" doubled, LF -> "\n", TAB -> "\t".
std::string EncodeNote(std::string_view text);
// Inverse of EncodeNote; line breaks come back as CR LF.
std::string DecodeNote(std::string_view encoded);
// Occurrences of delimiter plus one.
int FieldCount(std::string_view text, char delimiter);
// The n-th (1-based) delimited field; empty when n is 0 or past the last field.
std::string ExtractField(int n, std::string_view text, char delimiter);
// Removes bytes 0..32 from both ends.
std::string TrimControls(std::string_view text);

// The site name of a line, as SetLine reads it (blanks and controls at its
// ends removed), seen in place.
std::string_view SiteNameOf(std::string_view line);

class TqelPwRec {
 public:
  // Site text holds passwords: a record leaves nothing behind when it goes.
  TqelPwRec() = default;
  TqelPwRec(const TqelPwRec&) = default;
  TqelPwRec(TqelPwRec&&) noexcept = default;
  TqelPwRec& operator=(const TqelPwRec&) = default;
  TqelPwRec& operator=(TqelPwRec&&) noexcept = default;
  ~TqelPwRec() { Wipe(); }

  const std::string& Site() const { return site_; }
  const std::string& User() const { return user_; }
  const std::string& PW() const { return pw_; }
  const std::string& URL() const { return url_; }
  // Decoded notes (CR LF line breaks).
  std::string Note() const;
  // Notes in their stored, encoded form, as the line carries them.
  const std::string& RawNote() const { return note_; }

  // Setters trim bytes 0..32 at both ends; SetNote also encodes. SetPW
  // stores the password exactly: blanks at its ends are part of it, and a
  // changed password no longer logs in.
  void SetSite(std::string_view value);
  void SetUser(std::string_view value);
  void SetPW(std::string_view value);
  void SetURL(std::string_view value);
  void SetNote(std::string_view value);

  std::string Line() const;
  // The password is kept as the line holds it between its TABs; the other
  // fields go through their setters.
  void SetLine(std::string_view line);

  // A caller-owned copy made through the line form.
  std::unique_ptr<TqelPwRec> Clone() const;

  // Overwrites and empties every field.
  void Wipe();

 private:
  std::string pw_, user_, site_, url_, note_;
};
