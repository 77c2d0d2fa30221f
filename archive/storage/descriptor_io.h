#pragma once
// Whole reads, writes and copies through file descriptors. Failures throw
// EFileError naming the file as the user knows it and the system's reason.

#include <cstddef>
#include <cstdint>
#include <string>

// Throws EFileError("<action> <path>: <reason of error>"), for example
// "Cannot write file /x/keys.zip: No space left on device".
[[noreturn]] void ThrowFileError(const std::string& action, const std::string& path, int error);

// Writes all bytes at the descriptor's position.
void WriteAll(int fd, const std::string& bytes, const std::string& shownPath);

// Reads count bytes at offset; false when the file ends before them.
bool ReadAt(int fd, std::uint64_t offset, void* buffer, std::size_t count,
            const std::string& shownPath);

// Copies count bytes starting at offset of `from` to the position of `to`.
// The source is named in read errors, the target in write errors.
void CopyRange(int from, std::uint64_t offset, std::uint64_t count, int to,
               const std::string& shownPath);
