#include "archive/storage/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <optional>

#include "archive/storage/archive_layout.h"
#include "archive/storage/archive_place.h"
#include "archive/storage/backup_files.h"
#include "archive/storage/descriptor_io.h"
#include "archive/storage/file_descriptor.h"
#include "archive/storage/member_copy.h"
#include "archive/storage/safe_save_hook.h"
#include "archive/storage/temp_file.h"
#include "archive/zip/site_list_member.h"

namespace {

// The archive as it stands before the save: nothing when it does not exist.
struct TOldArchive {
  TFileDescriptor fd;
  struct stat st {};
  std::optional<TArchiveLayout> layout;
};

TOldArchive OpenOldArchive(int folderFd, const std::string& name, const std::string& shownPath) {
  TOldArchive old;
  // Non-blocking, so that a FIFO put in the archive's place cannot stall us.
  old.fd = TFileDescriptor(
      ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!old.fd.IsOpen()) {
    if (errno == ENOENT) return old;
    ThrowFileError("Cannot open file", shownPath, errno);
  }
  if (::fstat(old.fd.Get(), &old.st) != 0) ThrowFileError("Cannot open file", shownPath, errno);
  if (S_ISDIR(old.st.st_mode)) ThrowFileError("Cannot write file", shownPath, EISDIR);
  if (!S_ISREG(old.st.st_mode)) {
    throw EFileError("Cannot write file " + shownPath + ": not a regular file");
  }
  if ((old.st.st_mode & S_IWUSR) == 0) {
    throw EArchiveReadOnly("The archive " + shownPath + " is read-only");
  }
  old.layout =
      ReadArchiveLayout(old.fd.Get(), static_cast<std::uint64_t>(old.st.st_size), shownPath);
  return old;
}

[[noreturn]] void ThrowReplaced(const std::string& shownPath) {
  throw EArchiveReplaced("The archive " + shownPath +
                         " was replaced by another program while saving");
}

TZipMemberSettings MemberSettings(const TSaveOptions& options) {
  return TZipMemberSettings{options.password.str(), TCompressionMethodToUse::smBestMethod,
                            TDeflationOption::doNormal, options.encryption, options.hardened};
}

using TMemberSource = std::function<std::vector<TNewMember>()>;

// Error messages name the file as the caller gave it. The members are made
// once the old file has been checked, so that a save refused for the file
// does no work.
TSaveWarnings SaveProduced(const std::string& path, const TMemberSource& produce,
                           const std::vector<std::string>& dropped, const TSaveOptions& options) {
  const TArchivePlace archive = ResolveArchivePlace(path);
  if (archive.name.empty()) ThrowFileError("Cannot create file", path, EISDIR);
  // Everything below goes through this one descriptor of the folder, so a
  // folder renamed or swapped meanwhile cannot redirect part of the save.
  TFileDescriptor folder(::open(archive.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.IsOpen()) ThrowFileError("Cannot create file", path, errno);
  RemoveStaleTempFiles(folder.Get(), archive.name);
  TOldArchive old = OpenOldArchive(folder.Get(), archive.name, path);
  if (options.refuseUnreadable && !old.layout && old.fd.IsOpen() && old.st.st_size > 0) {
    ThrowZipError(TZipErrorCode::NotZip);
  }

  // Compressing first keeps the temporary file's life short.
  const std::vector<TNewMember> produced = produce();
  TTempFile temp = TTempFile::Create(folder.Get(), archive.name, path);
  if (auto& hook = SafeSaveTempCreatedHook()) hook(archive.folder + "/" + temp.Name());
  WriteArchiveImage(temp.Fd(), old.layout ? &*old.layout : nullptr, old.fd.Get(), produced,
                    dropped, path);
  temp.TakeOwnerAndMode(old.fd.IsOpen() ? &old.st : nullptr, path);
  temp.Sync(path);

  // Only a file that opened as an archive is worth keeping; after a
  // password change every backup goes anyway.
  TSaveWarnings warnings;
  if (old.layout && options.backups > 0 && !options.passwordChanged) {
    warnings = KeepBackup(folder.Get(), archive.folder, archive.name, old.fd.Get(), old.st,
                          options.backups);
  }
  if (options.lock) options.lock->Follow(temp.Fd());
  if (!temp.RenameOver(archive.name, path)) ThrowReplaced(path);
  // Makes the rename durable; a file system that cannot sync folders does
  // not undo a save that has happened.
  ::fsync(folder.Get());
  if (!NameHoldsFile(folder.Get(), archive.name, temp.Fd())) ThrowReplaced(path);
  if (options.passwordChanged) {
    const uid_t owner = old.fd.IsOpen() ? old.st.st_uid : ::geteuid();
    warnings = RemoveBackups(folder.Get(), archive.folder, archive.name, owner);
  }
  return warnings;
}

}  // namespace

std::function<void(const std::string& tempPath)>& SafeSaveTempCreatedHook() {
  static std::function<void(const std::string&)> hook;
  return hook;
}

TSaveWarnings SaveDataArchive(const std::string& path, const std::string& password,
                              const std::string& data) {
  TSaveOptions options;
  options.password.Assign(password);
  return SaveDataArchive(path, data, options);
}

TSaveWarnings SaveDataArchive(const std::string& path, const std::string& data,
                              const TSaveOptions& options) {
  return SaveArchiveMembers(path, {{kSiteListMember, data}}, {}, options);
}

TSaveWarnings SaveArchiveMembers(const std::string& path, const std::vector<TNamedMember>& members,
                                 const std::vector<std::string>& dropped,
                                 const TSaveOptions& options) {
  const auto produce = [&members, &options] {
    std::vector<TNewMember> produced;
    for (const TNamedMember& member : members) {
      produced.push_back(ProduceNewMember(member.name, member.data, MemberSettings(options)));
    }
    return produced;
  };
  return SaveProduced(path, produce, dropped, options);
}

TSaveWarnings SaveNewMembers(const std::string& path, std::vector<TNewMember> members,
                             const std::vector<std::string>& dropped, const TSaveOptions& options) {
  return SaveProduced(path, [&members] { return std::move(members); }, dropped, options);
}
