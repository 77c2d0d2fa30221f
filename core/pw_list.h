#pragma once
// The content of one archive: site lines kept in collation order, free of
// byte-identical duplicates, with the CR LF text form of the member "Data".

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/pw_rec.h"

// The lines of a text as a list loads them (split at CR, LF or NUL), in the
// text's order and with any repeats, as views into the text.
std::vector<std::string_view> SiteLineViews(std::string_view text);

class TqelPwList {
 public:
  // The lines hold passwords: a list leaves nothing behind when it goes.
  TqelPwList() = default;
  TqelPwList(const TqelPwList&) = default;
  TqelPwList(TqelPwList&&) noexcept = default;
  TqelPwList& operator=(const TqelPwList&) = default;
  TqelPwList& operator=(TqelPwList&&) noexcept = default;
  ~TqelPwList() { Wipe(); }

  int Count() const { return static_cast<int>(lines_.size()); }
  // Throws std::out_of_range("List index out of bounds (i)").
  const std::string& operator[](int index) const;
  // Inserts at the sorted position; an identical line is not added twice.
  // Returns the line's index.
  int Add(std::string_view line);
  // Adds many lines at once, with the result of adding them one by one in
  // linear-logarithmic time. Returns how many were not present.
  int Add(std::vector<std::string> lines);
  // Overwrites line index and takes it out of the list; throws
  // std::out_of_range as operator[] does.
  void Remove(int index);
  void Clear() { lines_.clear(); }
  // Overwrites every line and the scratch record, then empties the list.
  void Wipe();

  // Replaces the content with the lines of the text (split at CR, LF or NUL).
  void LoadFromText(std::string_view text);
  void LoadFromStream(std::istream& in);
  // Every line followed by CR LF.
  std::string SaveToText() const;
  void SaveToStream(std::ostream& out) const;

  // Parses line i into the list's scratch record and returns it; valid until
  // the next call. Callers that keep a record take Clone().
  TqelPwRec& Rec(int index);
  // Every line parsed into a record of its own, in list order; the lines are
  // overwritten and freed one by one and the list is left empty.
  std::vector<std::unique_ptr<TqelPwRec>> TakeRecords();
  // The lines themselves, in list order; the list is left empty.
  std::vector<std::string> TakeLines();
  // SaveToText's text; each line is overwritten and freed once joined, so a
  // large list and its text are not held in full side by side.
  std::string TakeText();

 private:
  void CheckIndex(int index) const;

  std::vector<std::string> lines_;
  TqelPwRec scratch_;
};
