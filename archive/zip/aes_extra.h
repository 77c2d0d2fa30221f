#pragma once
// The AES extra field (ID 0x9901) that marks a member encrypted with AES:
// which vendor version wrote it, the key strength and the method the data
// was compressed with before it was encrypted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The method field of every AES member; the real method is in the extra.
inline constexpr std::uint16_t kMethodAes = 99;

// AE-1 checks the CRC-32 as well; AE-2 stores 0 and relies on the
// authentication code alone.
enum class TAesVendorVersion : std::uint16_t { Ae1 = 1, Ae2 = 2 };

// Strength 1 is AES-128, 2 AES-192, 3 AES-256 (the one this program writes).
inline constexpr int kAesStrength256 = 3;

struct TAesExtra {
  TAesVendorVersion Version = TAesVendorVersion::Ae2;
  int Strength = kAesStrength256;
  std::uint16_t Method = 8;
};

// The AES block of a whole extra field; nullopt when there is none or it is
// malformed (wrong size, vendor id, version or strength).
std::optional<TAesExtra> FindAesExtra(const std::string& extraField);

// The 11-byte block (header and 7 bytes of data) for an extra field.
std::string BuildAesExtra(const TAesExtra& aes);

// The private block (header ID "VN") that records how a hardened member's
// key was derived (archive/zip/hardened_extra.h).
inline constexpr std::uint16_t kHardenedExtraId = 0x4E56;

// The data of the first block with this header ID, or nullopt.
std::optional<std::string> FindExtraBlock(const std::string& extraField, std::uint16_t id);

// Only the AES block and the hardened key's record of an extra field, or
// empty; a copied member keeps these (without them its data cannot be read)
// and drops the others.
std::string KeepAesExtra(const std::string& extraField);

// Key and salt sizes by strength (1..3): 16/24/32 and 8/12/16 bytes.
std::size_t AesKeySize(int strength);
std::size_t AesSaltSize(int strength);
