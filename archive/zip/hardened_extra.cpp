#include "archive/zip/hardened_extra.h"

#include <sodium.h>

#include <algorithm>
#include <charconv>

#include "archive/zip/aes_extra.h"
#include "archive/zip/zip_records.h"

namespace {

constexpr char kTag[] = "argon2id ";
constexpr std::size_t kKiB = 1024;
// A number of more digits than this is out of bounds anyway.
constexpr std::size_t kMaxDigits = 12;

std::string Hex(const std::string& bytes) {
  std::string hex(bytes.size() * 2 + 1, '\0');
  sodium_bin2hex(hex.data(), hex.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                 bytes.size());
  hex.pop_back();
  return hex;
}

std::optional<std::string> Unhex(std::string_view hex) {
  std::string bytes(hex.size() / 2, '\0');
  std::size_t length = 0;
  const char* end = nullptr;
  if (sodium_hex2bin(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), hex.data(),
                     hex.size(), nullptr, &length, &end) != 0 ||
      end != hex.data() + hex.size()) {
    return std::nullopt;
  }
  bytes.resize(length);
  return bytes;
}

// The value of "<name>=<value>" at the front of text, up to a blank or the
// end; text is left after it.
std::optional<std::string_view> Field(std::string_view& text, std::string_view name) {
  if (text.substr(0, name.size()) != name || text.substr(name.size(), 1) != "=") {
    return std::nullopt;
  }
  text.remove_prefix(name.size() + 1);
  const std::size_t end = std::min(text.find(' '), text.size());
  const std::string_view value = text.substr(0, end);
  text.remove_prefix(end == text.size() ? end : end + 1);
  return value;
}

std::optional<std::uint64_t> Number(std::optional<std::string_view> digits) {
  if (!digits || digits->empty() || digits->size() > kMaxDigits) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits->data(), digits->data() + digits->size(), value);
  if (error != std::errc() || end != digits->data() + digits->size()) return std::nullopt;
  return value;
}

// The text is not echoed: it may hold any bytes.
THardenedRecord Unreadable() { return {std::nullopt, "the key record cannot be read"}; }

}  // namespace

std::string HardenedRecordText(const THardenedParams& params) {
  return kTag + std::string("m=") + std::to_string(params.memoryBytes / kKiB) +
         " t=" + std::to_string(params.operations) + " s=" + Hex(params.salt);
}

std::string BuildHardenedExtra(const THardenedParams& params) {
  const std::string text = HardenedRecordText(params);
  std::string block;
  PutU16(block, kHardenedExtraId);
  PutU16(block, static_cast<std::uint16_t>(text.size()));
  return block + text;
}

std::optional<THardenedRecord> FindHardenedRecord(const std::string& extraField) {
  const std::optional<std::string> block = FindExtraBlock(extraField, kHardenedExtraId);
  if (!block || block->rfind(kTag, 0) != 0) return std::nullopt;
  std::string_view text(*block);
  text.remove_prefix(sizeof kTag - 1);
  const auto memory = Number(Field(text, "m"));
  const auto operations = Number(Field(text, "t"));
  const auto saltHex = Field(text, "s");
  const auto salt = saltHex ? Unhex(*saltHex) : std::nullopt;
  if (!memory || !operations || !salt || !text.empty()) return Unreadable();
  THardenedParams params;
  params.memoryBytes = *memory * kKiB;
  // Anything above the bounds stays above them when narrowed.
  params.operations = static_cast<std::uint32_t>(std::min<std::uint64_t>(*operations, UINT32_MAX));
  params.salt = *salt;
  if (auto problem = HardenedParamsProblem(params)) return THardenedRecord{std::nullopt, *problem};
  return THardenedRecord{std::move(params), {}};
}
