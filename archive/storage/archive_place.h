#pragma once
// Where an archive really lives: the folder that holds it and its name
// there. A symbolic link is resolved once, so a save replaces the file it
// points to and keeps the link, and the lock guards that same folder.

#include <string>

struct TArchivePlace {
  std::string folder;
  std::string name;
};

TArchivePlace ResolveArchivePlace(const std::string& path);
