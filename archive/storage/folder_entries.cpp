#include "archive/storage/folder_entries.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace {

struct TCloseFolder {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

std::vector<std::string> FolderEntries(int folderFd) {
  std::vector<std::string> names;
  // The listing owns a descriptor of its own; the copy shares the reading
  // position, hence the rewind.
  int copy = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) return names;
  std::unique_ptr<DIR, TCloseFolder> dir(::fdopendir(copy));
  if (!dir) {
    ::close(copy);
    return names;
  }
  ::rewinddir(dir.get());
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  return names;
}
