#include "core/change_records.h"

#include <openssl/evp.h>

#include <algorithm>
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

std::string LineFingerprint(std::string_view line) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(line.data(), line.size(), digest, &length, EVP_sha256(), nullptr);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < kFingerprintBytes; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 0xF];
  }
  return text;
}

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
  const TChangeRecords none;
  const TChangeRecords& before = old ? *old : none;
  std::map<std::string, std::string> oldByPrint;  // fingerprint -> line
  for (const std::string& line : oldLines) oldByPrint[LineFingerprint(line)] = line;
  std::set<std::string> newPrints;
  for (const std::string& line : newLines) newPrints.insert(LineFingerprint(line));

  TChangeRecords records;
  // Tombstones old enough to forget; a clock far behind keeps them all.
  for (const TTombstone& gone : before.tombstones) {
    if (gone.removed + kTombstoneLifetime >= now) records.tombstones.push_back(gone);
  }
  auto stampOf = [&](const std::string& print) {
    const auto found = before.lines.find(print);
    return found != before.lines.end() ? found->second : TLineStamp{0, print};
  };
  // The lines that went, by site: an added line of the same site is an edit.
  std::map<TSiteIdentity, std::vector<std::string>, TSiteIdentityLess> goneBySite;
  for (const auto& [print, line] : oldByPrint) {
    if (!newPrints.count(print)) goneBySite[TSiteIdentity::Of(line)].push_back(print);
  }
  std::set<TSiteIdentity, TSiteIdentityLess> edited;
  for (const std::string& line : newLines) {
    const std::string print = LineFingerprint(line);
    if (oldByPrint.count(print)) {
      records.lines[print] = stampOf(print);
      continue;
    }
    const TSiteIdentity identity = TSiteIdentity::Of(line);
    const auto gone = goneBySite.find(identity);
    const bool isEdit = gone != goneBySite.end();
    records.lines[print] = {now, isEdit ? stampOf(gone->second.front()).family : print};
    if (isEdit) edited.insert(identity);
  }
  for (const auto& [identity, prints] : goneBySite) {
    for (const std::string& print : prints) {
      records.tombstones.push_back({LineIdentity(oldByPrint.at(print)), print,
                                    stampOf(print).family, now, !edited.count(identity)});
    }
  }
  return records;
}
