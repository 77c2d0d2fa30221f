// One-time codes checked against oathtool, and the parsing of the secrets
// and URIs notes carry.

#include "core/totp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// oathtool's code for the Base32 secret at the Unix time.
std::string OathtoolCode(const std::string& mode, const std::string& secret, int digits,
                         int period, std::int64_t when) {
  const std::string command = "oathtool --totp=" + mode + " -b -d " + std::to_string(digits) +
                              " -s " + std::to_string(period) + " -N @" + std::to_string(when) +
                              " " + secret + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return "popen failed";
  std::string out;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  ::pclose(pipe);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

struct TPeerCase {
  const char* algorithm;  // as the URI names it
  const char* mode;       // as oathtool names it
  int digits;
  int period;
};

TEST(TotpCode, MatchesOathtoolForEachHashDigitsAndPeriod) {
  const TPeerCase cases[] = {
      {"SHA1", "sha1", 6, 30},    {"SHA256", "sha256", 8, 30}, {"SHA512", "sha512", 7, 45},
      {"sha256", "sha256", 6, 60}, {"SHA512", "sha512", 8, 30}, {"SHA1", "sha1", 8, 1},
  };
  const std::string secrets[] = {"JBSWY3DPEHPK3PXP", "GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"};
  const std::int64_t times[] = {0, 59, 1111111109, 1234567890, 2000000000, 20000000000};
  for (const TPeerCase& c : cases) {
    for (const std::string& secret : secrets) {
      const TTotpParams params = ParseTotp(
          "otpauth://totp/Bank:joe?secret=" + secret + "&algorithm=" + c.algorithm +
          "&digits=" + std::to_string(c.digits) + "&period=" + std::to_string(c.period));
      for (std::int64_t when : times) {
        EXPECT_EQ(TotpCode(params, when), OathtoolCode(c.mode, secret, c.digits, c.period, when))
            << c.algorithm << " " << c.digits << " digits " << c.period << " s at " << when;
      }
    }
  }
}

TEST(TotpCode, SecondsLeftCountDownToTheNextCode) {
  const TTotpParams params = ParseTotp("JBSWY3DPEHPK3PXP");
  EXPECT_EQ(TotpSecondsLeft(params, 0), 30);
  EXPECT_EQ(TotpSecondsLeft(params, 29), 1);
  EXPECT_EQ(TotpSecondsLeft(params, 30), 30);
  EXPECT_NE(TotpCode(params, 29), TotpCode(params, 30));
}

struct TParseCase {
  const char* text;
  bool ok;
  TOtpHash hash = TOtpHash::Sha1;
  int digits = 6;
  int period = 30;
  const char* issuer = "";
  const char* account = "";
};

TEST(ParseTotp, AcceptsWellFormedAndRejectsMalformed) {
  const TParseCase cases[] = {
      {"JBSWY3DPEHPK3PXP", true},
      {"jbsw y3dp ehpk 3pxp", true},
      {"JBSWY3DPEHPK3PXP====", true},
      {"otpauth://totp/Example:alice%40mail.example?secret=JBSWY3DPEHPK3PXP&issuer=Example",
       true, TOtpHash::Sha1, 6, 30, "Example", "alice@mail.example"},
      {"OTPAUTH://TOTP/joe?SECRET=JBSWY3DPEHPK3PXP&ALGORITHM=sha512&DIGITS=8&PERIOD=60", true,
       TOtpHash::Sha512, 8, 60, "", "joe"},
      {"otpauth://totp/?secret=JBSWY3DPEHPK3PXP&algorithm=SHA256&image=x", true,
       TOtpHash::Sha256},
      {"otpauth://totp/A%20B:c?issuer=Other&secret=JBSWY3DPEHPK3PXP", true, TOtpHash::Sha1, 6, 30,
       "Other", "c"},
      {"", false},
      {"====", false},
      {"JBSWY3DP1", false},             // 1 is no Base32 digit
      {"otpauth://hotp/x?secret=JBSWY3DPEHPK3PXP&counter=1", false},
      {"otpauth://totp/x", false},      // no secret
      {"otpauth://totp/x?secret=", false},
      {"otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&digits=5", false},
      {"otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&digits=9", false},
      {"otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&digits=six", false},
      {"otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&period=0", false},
      {"otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&period=-30", false},
      {"otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&period=99999999999", false},
      {"otpauth://totp/x?secret=JBSWY3DPEHPK3PXP&algorithm=MD5", false},
      {"otpauth://totp/x%4?secret=JBSWY3DPEHPK3PXP", false},
      {"otpauth://totp/x%zz?secret=JBSWY3DPEHPK3PXP", false},
  };
  for (const TParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    if (!c.ok) {
      try {
        ParseTotp(c.text);
        ADD_FAILURE() << "accepted";
      } catch (const ETotpError& e) {
        EXPECT_NE(std::string(e.what()), "");
      }
      continue;
    }
    const TTotpParams params = ParseTotp(c.text);
    EXPECT_EQ(params.key.str(), std::string("Hello!\xde\xad\xbe\xef", 10));
    EXPECT_EQ(params.hash, c.hash);
    EXPECT_EQ(params.digits, c.digits);
    EXPECT_EQ(params.period, c.period);
    EXPECT_EQ(params.issuer, c.issuer);
    EXPECT_EQ(params.account, c.account);
  }
}

TEST(TotpFromNotes, FindsTheCodeLineAmongOtherNotes) {
  struct TNotesCase {
    const char* notes;
    const char* found;  // nullptr: no code line
  };
  const TNotesCase cases[] = {
      {"just notes\r\nmore", nullptr},
      {"", nullptr},
      {"see otpauth://totp/x?secret=A inline", nullptr},
      {"pin 1234\r\n  otpauth://totp/x?secret=JBSWY3DPEHPK3PXP  \r\nend",
       "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP"},
      {"n\nTOTP: JBSWY3DPEHPK3PXP", "JBSWY3DPEHPK3PXP"},
      {"totp:otpauth://totp/y?secret=JBSWY3DPEHPK3PXP", "otpauth://totp/y?secret=JBSWY3DPEHPK3PXP"},
  };
  for (const TNotesCase& c : cases) {
    SCOPED_TRACE(c.notes);
    const auto found = FindTotpText(c.notes);
    ASSERT_EQ(found.has_value(), c.found != nullptr);
    if (c.found) {
      EXPECT_EQ(found->str(), c.found);
    }
  }
  EXPECT_FALSE(TotpFromNotes("nothing here").has_value());
  EXPECT_THROW(TotpFromNotes("TOTP: not base32!"), ETotpError);
  EXPECT_EQ(TotpCode(*TotpFromNotes("a\r\nTOTP: JBSWY3DPEHPK3PXP"), 59),
            TotpCode(ParseTotp("JBSWY3DPEHPK3PXP"), 59));
}

}  // namespace
