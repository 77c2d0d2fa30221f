#pragma once
// Writing an archive file without ever destroying the previous one.

#include <string>

// Writes a new archive at path holding the single member "Data" with the
// given bytes, encrypted when password is not empty. The archive is written
// to a temporary file in the same folder, flushed to disk and renamed over
// path. A new file is readable and writable by its owner only; a replaced
// file keeps its permissions. On any failure path is untouched, the
// temporary file is removed and the error is thrown with its message.
void SaveDataArchive(const std::string& path, const std::string& password,
                     const std::string& data);
