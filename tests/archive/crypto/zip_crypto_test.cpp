#include "archive/crypto/zip_crypto.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "archive/archive_errors.h"
#include "core/secure_random.h"

namespace {

// The 12-byte header and 20 data bytes of a stored member "Hello, known
// answer!" that another ZIP tool encrypted with the password "secret"; it set
// bit 3, so the check byte is the high byte of its DOS time 0xA345.
const std::vector<std::uint8_t> kPeerCipherText = {
    0x26, 0xc1, 0x68, 0xbc, 0x94, 0xf0, 0xbc, 0x60, 0x21, 0xab, 0x53, 0x11, 0x68, 0x4e, 0xfa, 0x97,
    0xef, 0x64, 0x14, 0x52, 0x10, 0xc1, 0x89, 0x81, 0x43, 0x3e, 0x08, 0x34, 0x7f, 0x56, 0x0f, 0x5f};
constexpr std::uint32_t kPeerCheck = 0xA345u << 16;

std::array<std::uint8_t, 12> PeerHeader() {
  std::array<std::uint8_t, 12> header{};
  std::copy(kPeerCipherText.begin(), kPeerCipherText.begin() + 12, header.begin());
  return header;
}

TEST(ZipCipher, DecryptsDataEncryptedByAnotherTool) {
  TZipCipher cipher;
  ASSERT_TRUE(cipher.VerifyHeader(PeerHeader(), "secret", kPeerCheck));
  std::vector<std::uint8_t> data(kPeerCipherText.begin() + 12, kPeerCipherText.end());
  cipher.Decrypt(data.data(), data.size());
  EXPECT_EQ(std::string(data.begin(), data.end()), "Hello, known answer!");
}

TEST(ZipCipher, RejectsTheKnownHeaderWithAnotherPassword) {
  TZipCipher cipher;
  EXPECT_FALSE(cipher.VerifyHeader(PeerHeader(), "Secret", kPeerCheck));
}

TEST(ZipCipher, EncryptingThePeerPlainTextUnderTheSameKeysGivesThePeerBytes) {
  // Decrypting the header leaves the keys where the peer had them; encrypting
  // the plain text from there must reproduce its cipher text byte for byte.
  TZipCipher cipher;
  ASSERT_TRUE(cipher.VerifyHeader(PeerHeader(), "secret", kPeerCheck));
  std::string plain = "Hello, known answer!";
  std::vector<std::uint8_t> data(plain.begin(), plain.end());
  cipher.Encrypt(data.data(), data.size());
  EXPECT_EQ(data, std::vector<std::uint8_t>(kPeerCipherText.begin() + 12, kPeerCipherText.end()));
}

TEST(ZipCipher, HeaderCarriesTheCheckBytesAndVerifiesByTheTopByteOnly) {
  TZipCipher writer;
  auto header = writer.CreateHeader("pw", 0xABCD0000u);
  TZipCipher reader;
  EXPECT_TRUE(reader.VerifyHeader(header, "pw", 0xABCD0000u));
  EXPECT_TRUE(reader.VerifyHeader(header, "pw", 0xAB000000u));
  EXPECT_FALSE(reader.VerifyHeader(header, "pw", 0xAC000000u));
  // Plain bytes 10 and 11 are the check value's bits 16..31.
  TZipCipher plain;
  plain.InitKeys("pw");
  plain.Decrypt(header.data(), header.size());
  EXPECT_EQ(header[10], 0xCD);
  EXPECT_EQ(header[11], 0xAB);
}

TEST(ZipCipher, HeadersDifferBetweenCalls) {
  std::set<std::array<std::uint8_t, 12>> seen;
  for (int i = 0; i < 8; ++i) seen.insert(TZipCipher().CreateHeader("pw", 0x12340000u));
  EXPECT_EQ(seen.size(), 8u);
}

TEST(ZipCipher, EmptyPasswordIsNeverUsedToEncrypt) {
  TZipCipher cipher;
  EXPECT_THROW(cipher.CreateHeader("", 0), std::logic_error);
}

TEST(ZipCryptStreams, RoundTripAndTheCallersBufferStaysPlain) {
  TMemoryStream target;
  std::string plain = "some member data\r\n";
  {
    TZipEncryptStream encrypt(target, "pw", 0x55660000u);
    std::string copy = plain;
    encrypt.WriteExact(copy.data(), copy.size());
    EXPECT_EQ(copy, plain);
  }
  ASSERT_EQ(target.Size(), static_cast<std::int64_t>(12 + plain.size()));
  EXPECT_NE(target.Bytes().substr(12), plain);
  target.SetPosition(0);
  TZipDecryptStream decrypt(target, "pw", 0x55000000u);
  ASSERT_TRUE(decrypt.IsValid());
  std::string back(plain.size(), '\0');
  decrypt.ReadExact(back.data(), back.size());
  EXPECT_EQ(back, plain);
}

TEST(ZipCryptStreams, EmptyDataStillGetsTheHeader) {
  TMemoryStream target;
  { TZipEncryptStream encrypt(target, "pw", 0); }
  EXPECT_EQ(target.Size(), 12);
}

TEST(ZipCryptStreams, FailedCheckLeavesTheSourceWhereItWas) {
  TMemoryStream target;
  { TZipEncryptStream encrypt(target, "right", 0x7F000000u); }
  target.SetPosition(0);
  // One wrong password in 256 passes the check byte; pick one that fails.
  std::string wrong;
  // A candidate that passes reads the header, so each starts at 0 again.
  for (int i = 0; wrong.empty(); ++i) {
    std::string candidate = "wrong" + std::to_string(i);
    target.SetPosition(0);
    TZipDecryptStream probe(target, candidate, 0x7F000000u);
    if (!probe.IsValid()) {
      wrong = candidate;
      EXPECT_EQ(target.Position(), 0);
    }
  }
  TZipDecryptStream right(target, "right", 0x7F000000u);
  EXPECT_TRUE(right.IsValid());
  EXPECT_EQ(target.Position(), 12);
}

TEST(ZipCryptStreams, ShortSourceIsAReadError) {
  TMemoryStream source(std::string(11, 'x'));
  TZipDecryptStream decrypt(source, "pw", 0);
  try {
    decrypt.IsValid();
    FAIL() << "no error";
  } catch (const EStreamError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
}

TEST(SecureRandom, FillsTheWholeBuffer) {
  std::vector<std::uint8_t> a(64, 0), b(64, 0);
  SecureRandomBytes(a.data(), a.size());
  SecureRandomBytes(b.data(), b.size());
  EXPECT_NE(a, b);
}

}  // namespace
