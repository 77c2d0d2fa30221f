#pragma once
// Exit statuses of vornix-cli. Scripts rely on them; the usage text lists them.

namespace cli {

inline constexpr int kExitOk = 0;
// Anything else that went wrong: a missing file, an ambiguous site name,
// passwords that do not match, a file that cannot be written.
inline constexpr int kExitFailure = 1;
// The archive's password was wrong or not given.
inline constexpr int kExitWrongPassword = 2;
// The file is not an archive the engine can read, or its member is damaged.
inline constexpr int kExitNotArchive = 3;
// The command line was wrong (the usage text follows the message).
inline constexpr int kExitUsage = 64;
// Refused input data: a field the archive cannot hold, a malformed CSV file,
// a site list too large to save.
inline constexpr int kExitDataError = 65;

}  // namespace cli
