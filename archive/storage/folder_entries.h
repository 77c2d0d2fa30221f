#pragma once
// The names in a folder open as a descriptor.

#include <string>
#include <vector>

// The folder's entries other than "." and "..", in no particular order;
// empty when the folder cannot be listed.
std::vector<std::string> FolderEntries(int folderFd);
