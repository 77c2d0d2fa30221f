#include "core/change_records.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <charconv>
#include <cstdio>
#include <set>

#include "core/pw_rec.h"
#include "core/site_identity.h"

namespace {

constexpr std::string_view kHeader = "vornix change records 1";
constexpr std::string_view kDataTag = "data";
constexpr std::string_view kLineTag = "line";
constexpr std::string_view kGoneTag = "gone";
constexpr std::string_view kDeleted = "deleted";
constexpr std::string_view kReplaced = "replaced";
// 128 bits of SHA-256 keep lines apart; more would only make the member larger.
constexpr std::size_t kFingerprintBytes = 16;

using TDigest = std::array<unsigned char, kFingerprintBytes>;

// Fetched once: looking the algorithm up for every line of a large list
// costs more than hashing the line.
const EVP_MD* Sha256() {
  static EVP_MD* const fetched = EVP_MD_fetch(nullptr, "SHA256", nullptr);
  return fetched != nullptr ? fetched : EVP_sha256();
}

TDigest LineDigest(std::string_view line) {
  thread_local const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(
      EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  unsigned char full[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestInit_ex2(context.get(), Sha256(), nullptr);
  EVP_DigestUpdate(context.get(), line.data(), line.size());
  EVP_DigestFinal_ex(context.get(), full, &length);
  TDigest digest;
  std::memcpy(digest.data(), full, digest.size());
  return digest;
}

// Lower-case hex keeps the digests' byte order.
std::string HexOf(const TDigest& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text(2 * digest.size(), '0');
  for (std::size_t i = 0; i < digest.size(); ++i) {
    text[2 * i] = kHex[digest[i] >> 4];
    text[2 * i + 1] = kHex[digest[i] & 0xF];
  }
  return text;
}

// A line's digest as two big-endian numbers (their order is the bytes'
// order, and comparing them is two integer comparisons) beside its place.
struct TPrint {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  std::uint32_t index = 0;

  static TPrint Of(const TDigest& digest, std::uint32_t index) {
    TPrint print{0, 0, index};
    for (std::size_t i = 0; i < 8; ++i) {
      print.high = (print.high << 8) | digest[i];
      print.low = (print.low << 8) | digest[8 + i];
    }
    return print;
  }
  TDigest Digest() const {
    TDigest digest;
    for (std::size_t i = 0; i < 8; ++i) {
      digest[i] = static_cast<unsigned char>(high >> (56 - 8 * i));
      digest[8 + i] = static_cast<unsigned char>(low >> (56 - 8 * i));
    }
    return digest;
  }
  bool SameLine(const TPrint& other) const { return high == other.high && low == other.low; }
  bool Before(const TPrint& other) const {
    return high != other.high ? high < other.high : low < other.low;
  }
};

// One per distinct line, in digest order: two such lists are compared in
// one walk, and a million lines need no tree of fingerprints.
std::vector<TPrint> SortedPrints(const std::vector<std::string_view>& lines) {
  std::vector<TPrint> prints(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    prints[i] = TPrint::Of(LineDigest(lines[i]), static_cast<std::uint32_t>(i));
  }
  std::sort(prints.begin(), prints.end(), [](const TPrint& a, const TPrint& b) { return a.Before(b); });
  const auto last = std::unique(prints.begin(), prints.end(),
                                [](const TPrint& a, const TPrint& b) { return a.SameLine(b); });
  prints.erase(last, prints.end());
  return prints;
}

std::vector<std::string_view> SplitFields(std::string_view text, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos) break;
    fields.push_back(text.substr(0, space));
    text.remove_prefix(space + 1);
  }
  fields.push_back(text);
  return fields;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value, int base = 10) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool IsFingerprint(std::string_view text) {
  return text.size() == 2 * kFingerprintBytes &&
         text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// One line of the text into the records; false when it is not one we write.
bool ParseRecordLine(std::string_view line, TChangeRecords& records) {
  const std::string_view tag = line.substr(0, line.find(' '));
  if (tag == kDataTag) {
    const auto f = SplitFields(line, 3);
    return f.size() == 3 && ParseNumber(f[1], records.dataCrc, 16) &&
           ParseNumber(f[2], records.dataSize);
  }
  if (tag == kLineTag) {
    const auto f = SplitFields(line, 4);
    TLineStamp stamp;
    if (f.size() != 4 || !ParseNumber(f[1], stamp.changed) || !IsFingerprint(f[2]) ||
        !IsFingerprint(f[3])) {
      return false;
    }
    stamp.family = f[3];
    records.lines[std::string(f[2])] = stamp;
    return true;
  }
  if (tag == kGoneTag) {
    const auto f = SplitFields(line, 6);
    TTombstone gone;
    if (f.size() != 6 || !ParseNumber(f[1], gone.removed) || !IsFingerprint(f[2]) ||
        !IsFingerprint(f[3]) || (f[4] != kDeleted && f[4] != kReplaced)) {
      return false;
    }
    gone.fingerprint = f[2];
    gone.family = f[3];
    gone.deleted = f[4] == kDeleted;
    gone.identity = f[5];
    records.tombstones.push_back(std::move(gone));
    return true;
  }
  return false;
}

}  // namespace

std::string LineFingerprint(std::string_view line) { return HexOf(LineDigest(line)); }

std::string LineIdentity(std::string_view line) {
  const TSiteIdentity identity = TSiteIdentity::Of(line);
  return identity.site + "=" + identity.user;
}

std::string FormatChangeRecords(const TChangeRecords& records) {
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", records.dataCrc);
  std::string text(kHeader);
  text += "\n" + std::string(kDataTag) + " " + crc + " " + std::to_string(records.dataSize) + "\n";
  for (const auto& [fingerprint, stamp] : records.lines) {
    text += std::string(kLineTag) + " " + std::to_string(stamp.changed) + " " + fingerprint + " " +
            stamp.family + "\n";
  }
  for (const TTombstone& gone : records.tombstones) {
    text += std::string(kGoneTag) + " " + std::to_string(gone.removed) + " " + gone.fingerprint +
            " " + gone.family + " " + std::string(gone.deleted ? kDeleted : kReplaced) + " " +
            gone.identity + "\n";
  }
  return text;
}

std::optional<TChangeRecords> ParseChangeRecords(std::string_view text) {
  if (text.substr(0, kHeader.size()) != kHeader || text.substr(kHeader.size(), 1) != "\n") {
    return std::nullopt;
  }
  text.remove_prefix(kHeader.size() + 1);
  TChangeRecords records;
  bool sawData = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // every line ends in LF
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (!ParseRecordLine(line, records)) return std::nullopt;
    sawData = sawData || line.substr(0, kDataTag.size()) == kDataTag;
  }
  if (!sawData) return std::nullopt;
  return records;
}

TStampTime NewestStamp(const TChangeRecords& records) {
  TStampTime newest = 0;
  for (const auto& entry : records.lines) newest = std::max(newest, entry.second.changed);
  for (const TTombstone& gone : records.tombstones) newest = std::max(newest, gone.removed);
  return newest;
}

TStampTime StampTime(const TChangeRecords& records, TStampTime clock) {
  return std::max(clock, NewestStamp(records) + 1);
}

TChangeRecords RecordSave(const std::optional<TChangeRecords>& old,
                          const std::vector<std::string>& oldLines,
                          const std::vector<std::string>& newLines, TStampTime now) {
  return RecordSaveInPlace(old, std::vector<std::string_view>(oldLines.begin(), oldLines.end()),
                           std::vector<std::string_view>(newLines.begin(), newLines.end()), now);
}

TChangeRecords RecordSaveInPlace(const std::optional<TChangeRecords>& old,
                          const std::vector<std::string_view>& oldLines,
                          const std::vector<std::string_view>& newLines, TStampTime now) {
  const TChangeRecords none;
  const TChangeRecords& before = old ? *old : none;
  const std::vector<TPrint> oldPrints = SortedPrints(oldLines);
  const std::vector<TPrint> newPrints = SortedPrints(newLines);

  TChangeRecords records;
  // Tombstones old enough to forget; a clock far behind keeps them all.
  for (const TTombstone& gone : before.tombstones) {
    if (gone.removed + kTombstoneLifetime >= now) records.tombstones.push_back(gone);
  }
  auto stampOf = [&](const std::string& print) {
    const auto found = before.lines.find(print);
    return found != before.lines.end() ? found->second : TLineStamp{0, print};
  };
  // The lines that went, by site (an added line of the same site is an
  // edit), and which new lines were not there before.
  std::map<TSiteIdentity, std::vector<std::pair<std::string, std::uint32_t>>, TSiteIdentityLess>
      goneBySite;
  std::vector<bool> added(newPrints.size(), true);
  for (std::size_t o = 0, n = 0; o < oldPrints.size();) {
    if (n < newPrints.size() && newPrints[n].Before(oldPrints[o])) {
      ++n;
    } else if (n < newPrints.size() && newPrints[n].SameLine(oldPrints[o])) {
      added[n++] = false;
      ++o;
    } else {
      const std::string_view line = oldLines[oldPrints[o].index];
      goneBySite[TSiteIdentity::Of(line)].emplace_back(HexOf(oldPrints[o].Digest()), oldPrints[o].index);
      ++o;
    }
  }
  // In fingerprint order, as the records keep them: each goes in at the end.
  std::set<TSiteIdentity, TSiteIdentityLess> edited;
  auto known = before.lines.begin();
  for (std::size_t n = 0; n < newPrints.size(); ++n) {
    std::string print = HexOf(newPrints[n].Digest());
    TLineStamp stamp;
    if (!added[n]) {
      while (known != before.lines.end() && known->first < print) ++known;
      const bool stamped = known != before.lines.end() && known->first == print;
      stamp = stamped ? known->second : TLineStamp{0, print};
    } else {
      const TSiteIdentity identity = TSiteIdentity::Of(newLines[newPrints[n].index]);
      const auto gone = goneBySite.find(identity);
      const bool isEdit = gone != goneBySite.end();
      stamp = {now, isEdit ? stampOf(gone->second.front().first).family : print};
      if (isEdit) edited.insert(identity);
    }
    records.lines.emplace_hint(records.lines.end(), std::move(print), std::move(stamp));
  }
  for (const auto& [identity, prints] : goneBySite) {
    for (const auto& [print, index] : prints) {
      records.tombstones.push_back({LineIdentity(oldLines[index]), print, stampOf(print).family, now,
                                    !edited.count(identity)});
    }
  }
  return records;
}
