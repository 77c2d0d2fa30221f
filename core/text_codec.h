#pragma once
// Byte-string helpers for the two encodings archives are written in:
// UTF-8 (this platform) and Windows-1252 (archives written on Windows).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view bytes);
// Length of the well-formed UTF-8 sequence starting at pos (1 to 4), or 0
// when the bytes there do not form one. pos must be inside bytes.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t pos);
// Every byte decoded as Windows-1252, re-encoded as UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);
// UTF-8 text as Windows-1252 bytes; nullopt when a character has no
// Windows-1252 form or the input is not valid UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);
// Bytes as displayable UTF-8: unchanged when valid UTF-8, else decoded as
// Windows-1252.
std::string DisplayUtf8(std::string_view bytes);
// The rule for a typed password's bytes: tried as UTF-8 first, then as these
// Windows-1252 bytes (what archives written on Windows used). nullopt
// when there is no Windows-1252 form or it is the same bytes.
std::optional<std::string> LegacyPasswordBytes(std::string_view utf8);
