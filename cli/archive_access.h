#pragma once
// Reading and saving archives the way the window does: the archive engine
// extracts the member "Data" (asking for the password when the member is
// encrypted) and the safe save writes a whole new archive.

#include <string>

#include "core/pw_list.h"

namespace cli {

class TPasswordInput;

struct TArchiveContent {
  std::string path;      // absolute, with symbolic links resolved: where saves go
  std::string password;  // the bytes that opened it; empty when not encrypted
  std::string data;      // the member "Data" exactly as stored
};

// The absolute form of a path given on the command line.
std::string AbsolutePath(const std::string& path);

// Reads the member "Data". Without a password first; when the member is
// encrypted, asks `input` (once, or up to three times when a person answers
// at a terminal), and tries each answer as typed (UTF-8) and, when it
// differs, as Windows-1252 bytes, for archives written on the original
// platform. Throws ECliError: no such file (kExitFailure); the engine's
// message when the file is no archive it can read or an unencrypted member
// is damaged (kExitNotArchive); "Cannot extract file - invalid password" when
// no password given opens an encrypted member (kExitWrongPassword).
TArchiveContent ReadArchive(const std::string& path, TPasswordInput& input);

TqelPwList SitesOf(const TArchiveContent& archive);

// Writes data as the member "Data" of a new archive at path, through the
// safe save: on any failure the file is left as it was and ECliError
// (kExitFailure) is thrown.
void SaveData(const std::string& path, const std::string& password, const std::string& data);

// Writes the sites as the archive at path, through the safe save: on any
// failure the file is left as it was and ECliError (kExitFailure) is thrown.
void SaveSites(const std::string& path, const std::string& password, const TqelPwList& sites);

// True when the file name ends in ".zip" in any letter case, which the engine
// needs to recognise an archive.
bool HasArchiveExtension(const std::string& path);

}  // namespace cli
