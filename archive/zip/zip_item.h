#pragma once
// One archive member: the fields of its directory entry and what the next
// save does with it.

#include "archive/zip/zip_records.h"

enum class TZipAction { Failed = 0, Unchanged = 1, Deleted = 3, NewFromStream = 7 };

class TZipItem : public TZipDirectoryEntry {
 public:
  TZipAction Action = TZipAction::Unchanged;
};
