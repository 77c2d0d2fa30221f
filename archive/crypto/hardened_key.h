#pragma once
// The hardened AES key: the ZIP password of a hardened archive's members is
// not the person's password but an Argon2id key derived from it, written as
// 64 lower-case hex digits. Any tool that opens AES members opens them with
// that key; guessing the person's password costs a full derivation a guess.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/crypto/zip_encryption.h"
#include "core/secret_bytes.h"

inline constexpr std::uint64_t kMiB = 1ull << 20;

// A new key costs 256 MiB and four passes: about 0.5 s on a 2-core machine
// (bench/crypto/hardened_key_bench). Older cost records stay readable.
inline constexpr std::uint64_t kHardenedMemoryBytes = 256 * kMiB;
inline constexpr std::uint32_t kHardenedOperations = 4;
inline constexpr std::size_t kHardenedSaltSize = 16;

// What a record may ask for: below 8 MiB the key is cheap to guess, above
// 1 GiB a hostile file would make the reader allocate without bound, and
// more than 64 passes would hang it.
inline constexpr std::uint64_t kMinHardenedMemory = 8 * kMiB;
inline constexpr std::uint64_t kMaxHardenedMemory = 1024 * kMiB;
inline constexpr std::uint32_t kMinHardenedOperations = 1;
inline constexpr std::uint32_t kMaxHardenedOperations = 64;

struct THardenedParams {
  std::uint64_t memoryBytes = kHardenedMemoryBytes;
  std::uint32_t operations = kHardenedOperations;
  std::string salt;  // kHardenedSaltSize raw bytes

  friend bool operator==(const THardenedParams&, const THardenedParams&) = default;
};

// Why the parameters cannot be used ("the memory cost 2048 MiB is outside 8
// to 1024 MiB"), or nullopt when they are within bounds.
std::optional<std::string> HardenedParamsProblem(const THardenedParams& params);

// The current cost with a fresh salt from the system's random source.
THardenedParams NewHardenedParams();

// The 64 hex digits derived from the password's bytes (UTF-8, as typed).
// Throws std::invalid_argument for parameters out of bounds and
// std::runtime_error when the memory cannot be had.
TSecretBytes DeriveHardenedKey(std::string_view password, const THardenedParams& params);

// Lets tests make new keys cheaply; 0 restores kHardenedMemoryBytes. It
// changes only what NewHardenedParams gives, never what a record may ask.
void SetHardenedMemoryForTesting(std::uint64_t memoryBytes);

// The key of the last derivation, kept so that re-reading, saving and
// unlocking an archive with the same password does not derive it again.
// The password itself is not kept: only a keyed hash that tells it again.
class THardenedKeys {
 public:
  THardenedKeys();

  // The key of password under the parameters an archive recorded.
  const TSecretBytes& KeyFor(std::string_view password, const THardenedParams& params);
  // For a save with password: the parameters (and so the salt) last used
  // with it, or new ones (derived at once) once the password changed.
  const THardenedParams& ParamsFor(std::string_view password);
  // A new archive, or a closed one: the next save draws a new salt.
  void Forget();

 private:
  struct TEntry {
    TSecretBytes passwordTag;
    THardenedParams params;
    TSecretBytes key;
  };
  TSecretBytes Tag(std::string_view password) const;

  TSecretBytes tagKey_;  // random, of this holder only
  std::optional<TEntry> last_;
};

// What a save writes as the ZIP password for the person's password under
// `encryption`: for Aes256Hardened the key and the record of how it was
// derived (from `keys`), otherwise the password itself and no record.
struct TZipPassword {
  TSecretBytes password;
  std::optional<THardenedParams> hardened;
};
TZipPassword ZipPasswordFor(const TSecretBytes& password, TEncryption encryption,
                            THardenedKeys& keys);
