#include "archive/zip/aes_extra.h"

#include "archive/zip/zip_records.h"

namespace {

constexpr std::uint16_t kAesExtraId = 0x9901;
constexpr std::size_t kBlockHeaderSize = 4;  // id and data size
constexpr std::size_t kAesDataSize = 7;
constexpr char kVendorId[] = "AE";

struct TExtraBlock {
  std::size_t offset = 0;  // of the block header
  std::size_t size = 0;    // of the data
};

// A block's position, found by walking the (id, size, data) blocks; a
// block whose size runs past the field ends the walk.
std::optional<TExtraBlock> LocateBlock(const std::string& field, std::uint16_t wanted) {
  const auto* p = reinterpret_cast<const unsigned char*>(field.data());
  for (std::size_t at = 0; at + kBlockHeaderSize <= field.size();) {
    const std::uint16_t id = GetU16(p + at);
    const std::size_t size = GetU16(p + at + 2);
    if (at + kBlockHeaderSize + size > field.size()) return std::nullopt;
    if (id == wanted) return TExtraBlock{at, size};
    at += kBlockHeaderSize + size;
  }
  return std::nullopt;
}

bool ValidStrength(int strength) { return strength >= 1 && strength <= 3; }

}  // namespace

std::optional<TAesExtra> FindAesExtra(const std::string& extraField) {
  const auto block = LocateBlock(extraField, kAesExtraId);
  if (!block || block->size != kAesDataSize) return std::nullopt;
  const auto* data =
      reinterpret_cast<const unsigned char*>(extraField.data()) + block->offset + kBlockHeaderSize;
  const std::uint16_t version = GetU16(data);
  if (data[2] != kVendorId[0] || data[3] != kVendorId[1]) return std::nullopt;
  if (version != 1 && version != 2) return std::nullopt;
  TAesExtra aes;
  aes.Version = static_cast<TAesVendorVersion>(version);
  aes.Strength = data[4];
  aes.Method = GetU16(data + 5);
  if (!ValidStrength(aes.Strength)) return std::nullopt;
  return aes;
}

std::string BuildAesExtra(const TAesExtra& aes) {
  std::string block;
  PutU16(block, kAesExtraId);
  PutU16(block, static_cast<std::uint16_t>(kAesDataSize));
  PutU16(block, static_cast<std::uint16_t>(aes.Version));
  block += kVendorId;
  block.push_back(static_cast<char>(aes.Strength));
  PutU16(block, aes.Method);
  return block;
}

std::optional<std::string> FindExtraBlock(const std::string& extraField, std::uint16_t id) {
  const auto block = LocateBlock(extraField, id);
  if (!block) return std::nullopt;
  return extraField.substr(block->offset + kBlockHeaderSize, block->size);
}

std::string KeepAesExtra(const std::string& extraField) {
  std::string kept;
  for (const std::uint16_t id : {kAesExtraId, kHardenedExtraId}) {
    if (const auto block = LocateBlock(extraField, id)) {
      kept += extraField.substr(block->offset, kBlockHeaderSize + block->size);
    }
  }
  return kept;
}

std::size_t AesKeySize(int strength) { return 8 + 8 * static_cast<std::size_t>(strength); }

std::size_t AesSaltSize(int strength) { return 4 + 4 * static_cast<std::size_t>(strength); }
