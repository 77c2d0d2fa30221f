#pragma once
// Writing a whole archive file for a save: the members the save brings (the
// site list "Data" among them), and every other member of the previous file
// carried over byte for byte.

#include <string>
#include <string_view>
#include <vector>

#include "archive/storage/archive_layout.h"
#include "archive/zip/zip_member_out.h"

// A member ready to be written: its local record (header, data,
// descriptor) and its directory entry, whose local-header offset is set
// when the record is placed.
struct TNewMember {
  TZipDirectoryEntry Entry;
  std::string Record;
};

// Compresses and encrypts `data` as the member `name`, as the engine's
// writer does. Every member a save writes is made here, so that none larger
// than a read takes is ever written: EMemberTooLarge before any work.
TNewMember ProduceNewMember(const std::string& name, std::string_view data,
                            const TZipMemberSettings& settings);
// The same from the whole of a stream (read from position 0); read errors
// of the stream come through.
TNewMember ProduceNewMember(const std::string& name, TStream& source,
                            const TZipMemberSettings& settings);


// Writes the archive at out's position. Without an old layout the file
// holds the new members alone, in their order, laid out as the engine's
// writer lays out a new archive. With one, the old members are copied from
// oldFd in their order, central entries as they were but for the
// local-header offset; each new member takes the place of the old one of its
// name (the last of that name, which is the one readers use; earlier ones are
// dropped), or comes last when there was none; old members named in
// `dropped` are left out; the end record keeps the old comment.
void WriteArchiveImage(int out, const TArchiveLayout* old, int oldFd,
                       const std::vector<TNewMember>& members,
                       const std::vector<std::string>& dropped, const std::string& shownPath);
