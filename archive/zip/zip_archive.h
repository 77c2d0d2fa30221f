#pragma once
// One ZIP archive file: its member list as read from the central directory,
// loading that directory, and writing the whole archive anew.

#include <cstdint>
#include <functional>
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
  // Writes the archive when it is dirty, or when it has no members and its
  // file was empty.
  void Save();

  // Index of the last member whose name matches, or -1.
  int FindItem(const std::string& name) const;
  std::size_t Count() const { return items_.size(); }
  TZipItem& Item(std::size_t index) { return *items_[index]; }
  void Append(std::unique_ptr<TZipItem> item);

  TFileStream& File() { return *file_; }
  const std::string& Path() const { return path_; }
  const TZipEndRecord& EndRecord() const { return end_; }

  std::string Password;
  int PasswordRetries = 3;
  TCompressionMethodToUse CompressionMethodToUse = TCompressionMethodToUse::smBestMethod;
  TDeflationOption DeflationOption = TDeflationOption::doNormal;
  // How new members are encrypted when Password is not empty.
  TEncryption Encryption = TEncryption::Traditional;
  bool Dirty = false;
  bool Spanned = false;
  // No drive counts as removable on this platform, so no "PK00" marker is
  // ever written; files that carry one are still read.
  bool Removable = false;
  TZipStatus Status = TZipStatus::Invalid;

  // Raised for a member whose data cannot be produced during a save (an add
  // that failed to open its data, with no archive error code).
  std::function<void(const TZipItem& item, TItemProcess process, const TItemFailure& failure)>
      OnItemFailure;

 private:
  void ReadDirectory(std::int64_t endOffset);
  std::string BuildImage();
  void AppendUnchanged(std::string& image, TZipItem& item);
  bool AppendNew(std::string& image, TZipItem& item);
  void ReplaceFileContents(const std::string& image);
  void ReopenForReading();
  void FinishSave();

  std::string path_;
  std::unique_ptr<TFileStream> file_;
  std::vector<std::unique_ptr<TZipItem>> items_;
  TZipEndRecord end_;
  bool fileWasEmpty_ = false;
};
