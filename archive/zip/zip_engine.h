#pragma once
// The archive engine: TZipReader opens an archive and extracts a member into
// a stream; TZipWriter creates an archive and adds a member from a stream.
// Failures concerning one member reach the item-failure handler instead of
// being thrown.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/streams.h"
#include "archive/crypto/zip_encryption.h"
#include "archive/zip/zip_item.h"

class TZipArchive;
class TZipComponent;

// The event carries ProcessType (a TItemProcess), ErrorClass (a
// TItemErrorClass) and ErrorCode (the TZipErrorCode of an archive error, else
// 0) as plain numbers; TItemFailure reads them back.
using TItemFailureEvent = std::function<void(TZipComponent& sender, const TZipItem& item,
                                             int processType, int errorClass, int errorCode)>;
using TNeedPasswordEvent = std::function<void(TZipComponent& sender, std::string& newPassword)>;

// One member's failure: its class and, for an archive error, its code.
struct TItemFailure {
  TItemErrorClass errorClass = TItemErrorClass::Other;
  TZipErrorCode errorCode = TZipErrorCode::Unnumbered;

  static TItemFailure FromEvent(int errorClass, int errorCode) {
    return {static_cast<TItemErrorClass>(errorClass), static_cast<TZipErrorCode>(errorCode)};
  }
};

enum class TCompressionMethodToUse { smStored, smDeflated, smBestMethod };
enum class TDeflationOption { doNormal, doMaximum, doFast, doSuperFast };

class TZipComponent {
 public:
  TZipComponent();
  virtual ~TZipComponent();
  TZipComponent(const TZipComponent&) = delete;
  TZipComponent& operator=(const TZipComponent&) = delete;

  const std::string& FileName() const { return fileName_; }
  // Opens (reader) or creates (writer) the archive; empty closes it.
  virtual void SetFileName(const std::string& path) = 0;
  const std::string& Password() const { return password_; }
  void SetPassword(const std::string& password);
  // Saves if needed and frees the archive.
  virtual void CloseArchive() = 0;

  TItemFailureEvent OnProcessItemFailure;

 protected:
  // Raises OnProcessItemFailure, when assigned, with the failure's numbers.
  void RaiseItemFailure(const TZipItem& item, TItemProcess process, const TItemFailure& failure);

  std::string fileName_;
  std::string password_;
  std::unique_ptr<TZipArchive> archive_;
};

class TZipReader final : public TZipComponent {
 public:
  ~TZipReader() override;
  void SetFileName(const std::string& path) override;
  // Appends the member's data to stream at its position. Only "Archive does
  // not exist - FileName is blank" is thrown; other failures raise the
  // item-failure event. A missing member extracts nothing. The event handler
  // may call ExtractToStream again.
  void ExtractToStream(const std::string& name, TStream& stream);
  void CloseArchive() override;

  // The open archive's members in directory order (empty when none is open).
  std::vector<std::string> MemberNames() const;
  // The entry of the member `name`, or nullptr when there is none.
  const TZipItem* FindMember(const std::string& name) const;
  // The archive comment (empty when none is open).
  std::string Comment() const;

  int PasswordRetries = 3;
  TNeedPasswordEvent OnNeedPassword;

 private:
  void FreeArchive();
};

class TZipWriter final : public TZipComponent {
 public:
  ~TZipWriter() override;
  void SetFileName(const std::string& path) override;
  // Adds the member from the whole stream and writes the archive at once,
  // through the safe save under the archive's lock: a save that fails
  // leaves the old file as it was.
  void AddFromStream(const std::string& name, TStream& stream);
  void CloseArchive() override;

  TCompressionMethodToUse CompressionMethodToUse = TCompressionMethodToUse::smBestMethod;
  TDeflationOption DeflationOption = TDeflationOption::doNormal;
  // Used when a password is set: Traditional (the default) or Aes256.
  TEncryption Encryption = TEncryption::Traditional;

 private:
  void ReloadArchive();
};
