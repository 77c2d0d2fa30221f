#pragma once
// Text folded for finding sites by typing: letter case and accents do not
// count, so "Munchen" finds "München" and "MÜNCHEN". A record's text is
// folded once when it is listed; each query is folded and looked for as a
// plain substring, which keeps a keystroke cheap over many sites.

#include <string>
#include <string_view>

class TqelPwRec;

// Decomposes, drops the combining marks and case-folds. Bytes that are not
// valid UTF-8 are read as Windows-1252, as the list shows them.
std::string FoldForSearch(std::string_view bytes);

// The folded name, user name, URL and decoded notes of a site, one field
// per line, so that a query never matches across two fields.
std::string SearchTextOf(const TqelPwRec& rec);

// True when folded holds the folded query (an empty query matches all).
inline bool SearchMatches(std::string_view folded, std::string_view foldedQuery) {
  return folded.find(foldedQuery) != std::string_view::npos;
}
