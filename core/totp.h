#pragma once
// Time-based one-time codes (RFC 6238): the parameters a site's notes carry,
// either as an otpauth://totp/ URI or as a bare Base32 secret, and the code
// they give at a moment in time.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/secret_bytes.h"

enum class TOtpHash { Sha1, Sha256, Sha512 };

struct TTotpParams {
  TSecretBytes key;  // the decoded shared secret
  TOtpHash hash = TOtpHash::Sha1;
  int digits = 6;
  int period = 30;  // seconds each code is valid
  std::string issuer;
  std::string account;
};

// A secret or URI that cannot give codes; what() says why in a sentence.
class ETotpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kMinTotpDigits = 6;
inline constexpr int kMaxTotpDigits = 8;

// An otpauth://totp/ URI or a bare Base32 secret (SHA-1, 6 digits, 30 s).
// Throws ETotpError.
TTotpParams ParseTotp(std::string_view text);

// The one-time code line in a site's notes: a line that is an otpauth://
// URI, or a "TOTP: <secret or URI>" line as imports write them. The text
// after "TOTP:" or the URI itself; nullopt when the notes have none.
std::optional<TSecretBytes> FindTotpText(std::string_view notes);

// The notes' parameters, nullopt when they have none; ETotpError when the
// line they have is malformed.
std::optional<TTotpParams> TotpFromNotes(std::string_view notes);

// The message for a site whose notes have no code line; one text for the
// window and the CLI.
std::string NoTotpText(std::string_view site);

// The notes with `text` (a URI or a secret) as their code line: an existing
// code line is replaced, else the line is added at the end. A bare secret
// is written as "TOTP: <secret>". Lines end in LF.
std::string WithTotpLine(std::string_view notes, std::string_view text);

// The code at the given Unix time, zero-padded to params.digits.
std::string TotpCode(const TTotpParams& params, std::int64_t unixSeconds);
// Seconds until the code at that time is replaced (1..period).
int TotpSecondsLeft(const TTotpParams& params, std::int64_t unixSeconds);
// The current Unix time, from the system clock.
std::int64_t UnixNow();
