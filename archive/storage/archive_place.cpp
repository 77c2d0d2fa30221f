#include "archive/storage/archive_place.h"

#include <filesystem>

TArchivePlace ResolveArchivePlace(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path target = fs::absolute(fs::path(path), ec);
  if (ec) target = path;
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  return {target.parent_path().string(), target.filename().string()};
}
