#pragma once
// One ZIP archive file: its member list as read from the central directory,
// and loading that directory. Writing goes through the safe save
// (archive/storage/safe_save.h), which never destroys the old file.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/streams.h"
#include "archive/crypto/zip_encryption.h"
#include "archive/zip/zip_engine.h"
#include "archive/zip/zip_item.h"
#include "archive/zip/zip_records.h"

enum class TZipStatus { Invalid, Idle, Busy };

// The kinds of file the archive-type test tells apart.
enum class TArchiveType : int { None = 0, Zip = 1, MultiPart = 2, SelfExtracting = 3 };

// True when the file name ends in ".zip" in any letter case: the only
// extension the archive-type test accepts.
bool HasArchiveExtension(const std::string& path);

// The archive-type test. Every extension but ".zip" gives None.
TArchiveType ArchiveType(const std::string& path);

// Compares member names without regard to the case of ASCII letters.
bool SameMemberName(const std::string& a, const std::string& b);

class TZipArchive {
 public:
  enum class OpenMode { OpenExisting, CreateNew };
  // Throws "Full Path Required" for a path that is not absolute, and the file
  // errors "Cannot open file <path>" / "Cannot create file <path>".
  TZipArchive(const std::string& path, OpenMode mode);

  void Load();
  // The file held no bytes when it was created or loaded: an archive that
  // gets no member is still written out, as an end record alone.
  bool FileWasEmpty() const { return fileWasEmpty_; }

  // Index of the last member whose name matches, or -1.
  int FindItem(const std::string& name) const;
  std::size_t Count() const { return items_.size(); }
  TZipItem& Item(std::size_t index) { return *items_[index]; }

  TFileStream& File() { return *file_; }
  const std::string& Path() const { return path_; }
  const TZipEndRecord& EndRecord() const { return end_; }

  std::string Password;
  int PasswordRetries = 3;
  TCompressionMethodToUse CompressionMethodToUse = TCompressionMethodToUse::smBestMethod;
  TDeflationOption DeflationOption = TDeflationOption::doNormal;
  // How new members are encrypted when Password is not empty.
  TEncryption Encryption = TEncryption::Traditional;
  // Read from a disk set of several parts, which is never rewritten. No
  // "PK00" marker is ever written; files that carry one are still read.
  bool Spanned = false;
  TZipStatus Status = TZipStatus::Invalid;

 private:
  void ReadDirectory(std::int64_t endOffset);

  std::string path_;
  std::unique_ptr<TFileStream> file_;
  std::vector<std::unique_ptr<TZipItem>> items_;
  TZipEndRecord end_;
  bool fileWasEmpty_ = false;
};
