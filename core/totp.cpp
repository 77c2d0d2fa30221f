#include "core/totp.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>

#include "core/ascii_case.h"
#include "core/pw_rec.h"

namespace {

constexpr std::string_view kUriScheme = "otpauth://";
constexpr std::string_view kTotpType = "totp/";
constexpr std::string_view kNotesLabel = "TOTP:";
// A code that changes less than once a day is no one-time code.
constexpr int kMaxPeriod = 24 * 60 * 60;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%') {
      if (i + 2 >= text.size() || HexValue(text[i + 1]) < 0 || HexValue(text[i + 2]) < 0)
        throw ETotpError("The one-time code URI has a broken %-escape.");
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// RFC 4648 Base32, letter case, blanks, hyphens and "=" padding ignored.
TSecretBytes DecodeBase32(std::string_view text) {
  std::string out;
  unsigned buffer = 0;
  int bits = 0;
  for (char c : text) {
    if (c == ' ' || c == '-' || c == '=' || c == '\t') continue;
    const char upper = AsciiUpper(c);
    int value;
    if (upper >= 'A' && upper <= 'Z') {
      value = upper - 'A';
    } else if (upper >= '2' && upper <= '7') {
      value = upper - '2' + 26;
    } else {
      WipeString(out);
      throw ETotpError("The one-time code secret is not Base32 (letters A-Z and digits 2-7).");
    }
    buffer = (buffer << 5) | static_cast<unsigned>(value);
    bits += 5;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((buffer >> bits) & 0xFF);
    }
  }
  if (out.empty()) throw ETotpError("The one-time code secret is empty.");
  return TSecretBytes(std::move(out));
}

int ParseNumber(std::string_view text, int min, int max, const char* error) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
    throw ETotpError(error);
  return value;
}

TOtpHash ParseHash(std::string_view name) {
  if (EqualsAsciiNoCase(name, "SHA1")) return TOtpHash::Sha1;
  if (EqualsAsciiNoCase(name, "SHA256")) return TOtpHash::Sha256;
  if (EqualsAsciiNoCase(name, "SHA512")) return TOtpHash::Sha512;
  throw ETotpError("The one-time code algorithm must be SHA1, SHA256 or SHA512.");
}

void ApplyQuery(std::string_view query, TTotpParams& params, bool& hasSecret) {
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    const std::size_t eq = pair.find('=');
    const std::string_view name = pair.substr(0, eq);
    std::string value =
        eq == std::string_view::npos ? std::string() : PercentDecode(pair.substr(eq + 1));
    if (EqualsAsciiNoCase(name, "secret")) {
      params.key = DecodeBase32(value);
      hasSecret = true;
    } else if (EqualsAsciiNoCase(name, "algorithm")) {
      params.hash = ParseHash(value);
    } else if (EqualsAsciiNoCase(name, "digits")) {
      params.digits = ParseNumber(value, kMinTotpDigits, kMaxTotpDigits,
                                  "The one-time code must have 6 to 8 digits.");
    } else if (EqualsAsciiNoCase(name, "period")) {
      params.period = ParseNumber(value, 1, kMaxPeriod,
                                  "The one-time code period must be 1 to 86400 seconds.");
    } else if (EqualsAsciiNoCase(name, "issuer")) {
      params.issuer = value;
    }
    // Other parameters (image, counter of other types) do not change codes.
    WipeString(value);
  }
}

TTotpParams ParseUri(std::string_view uri) {
  std::string_view rest = uri.substr(kUriScheme.size());
  if (!StartsWithAsciiNoCase(rest, kTotpType))
    throw ETotpError("Only time-based one-time codes (otpauth://totp/) are supported.");
  rest.remove_prefix(kTotpType.size());
  const std::size_t question = rest.find('?');
  TTotpParams params;
  std::string label = PercentDecode(rest.substr(0, question));
  if (const std::size_t colon = label.find(':'); colon != std::string::npos) {
    params.issuer = TrimControls(label.substr(0, colon));
    label = TrimControls(label.substr(colon + 1));
  }
  params.account = label;
  bool hasSecret = false;
  if (question != std::string_view::npos) ApplyQuery(rest.substr(question + 1), params, hasSecret);
  if (!hasSecret) throw ETotpError("The one-time code URI has no secret.");
  return params;
}

const EVP_MD* Digest(TOtpHash hash) {
  switch (hash) {
    case TOtpHash::Sha256:
      return EVP_sha256();
    case TOtpHash::Sha512:
      return EVP_sha512();
    case TOtpHash::Sha1:
      break;
  }
  return EVP_sha1();
}

}  // namespace

TTotpParams ParseTotp(std::string_view text) {
  const TSecretBytes trimmed(TrimControls(text));
  if (StartsWithAsciiNoCase(trimmed.view(), kUriScheme)) return ParseUri(trimmed.view());
  TTotpParams params;
  params.key = DecodeBase32(trimmed.view());
  return params;
}

std::optional<TSecretBytes> FindTotpText(std::string_view notes) {
  while (!notes.empty()) {
    const std::size_t end = notes.find_first_of("\r\n");
    const std::string_view line = notes.substr(0, end);
    notes = end == std::string_view::npos ? std::string_view() : notes.substr(end + 1);
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) continue;
    const std::string_view text = line.substr(start);
    if (StartsWithAsciiNoCase(text, kUriScheme)) return TSecretBytes(TrimControls(text));
    if (StartsWithAsciiNoCase(text, kNotesLabel))
      return TSecretBytes(TrimControls(text.substr(kNotesLabel.size())));
  }
  return std::nullopt;
}

std::optional<TTotpParams> TotpFromNotes(std::string_view notes) {
  const std::optional<TSecretBytes> text = FindTotpText(notes);
  if (!text) return std::nullopt;
  return ParseTotp(text->view());
}

std::string NoTotpText(std::string_view site) {
  return "No one-time code in the notes of \"" + std::string(site) +
         "\" (a line otpauth://totp/... or TOTP: SECRET).";
}

std::string WithTotpLine(std::string_view notes, std::string_view text) {
  const std::string trimmed = TrimControls(text);
  const std::string line = StartsWithAsciiNoCase(trimmed, kUriScheme)
                               ? trimmed
                               : std::string(kNotesLabel) + " " + trimmed;
  std::string out;
  bool replaced = false;
  while (!notes.empty()) {
    const std::size_t end = notes.find('\n');
    std::string_view current = notes.substr(0, end);
    notes = end == std::string_view::npos ? std::string_view() : notes.substr(end + 1);
    if (!current.empty() && current.back() == '\r') current.remove_suffix(1);
    if (!replaced && FindTotpText(current)) {
      out += line;
      replaced = true;
    } else {
      out += current;
    }
    out += '\n';
  }
  if (!replaced) return out + line;
  out.pop_back();
  return out;
}

std::string TotpCode(const TTotpParams& params, std::int64_t unixSeconds) {
  const std::uint64_t counter = static_cast<std::uint64_t>(std::max<std::int64_t>(unixSeconds, 0)) /
                                static_cast<std::uint64_t>(params.period);
  std::array<unsigned char, 8> message{};
  for (int i = 0; i < 8; ++i) message[7 - i] = static_cast<unsigned char>(counter >> (8 * i));
  std::array<unsigned char, EVP_MAX_MD_SIZE> mac{};
  unsigned int macSize = 0;
  if (HMAC(Digest(params.hash), params.key.c_str(), static_cast<int>(params.key.size()),
           message.data(), message.size(), mac.data(), &macSize) == nullptr)
    throw ETotpError("The one-time code could not be computed.");
  // Dynamic truncation: four bytes at the offset the last nibble names.
  const unsigned offset = mac[macSize - 1] & 0x0F;
  const std::uint32_t binary = (static_cast<std::uint32_t>(mac[offset] & 0x7F) << 24) |
                               (static_cast<std::uint32_t>(mac[offset + 1]) << 16) |
                               (static_cast<std::uint32_t>(mac[offset + 2]) << 8) |
                               static_cast<std::uint32_t>(mac[offset + 3]);
  std::uint32_t modulus = 1;
  for (int i = 0; i < params.digits; ++i) modulus *= 10;
  std::string code = std::to_string(binary % modulus);
  OPENSSL_cleanse(mac.data(), mac.size());
  return std::string(static_cast<std::size_t>(params.digits) - code.size(), '0') + code;
}

int TotpSecondsLeft(const TTotpParams& params, std::int64_t unixSeconds) {
  const std::int64_t into = std::max<std::int64_t>(unixSeconds, 0) % params.period;
  return static_cast<int>(params.period - into);
}

std::int64_t UnixNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}
