// strength: how long one GPU would take to guess a password read from
// standard input.
#include <algorithm>
#include <cmath>

#include "archive/crypto/guess_rates.h"
#include "cli/cli_error.h"
#include "cli/command_archive.h"
#include "cli/command_context.h"
#include "core/ascii_case.h"
#include "core/password_strength.h"
#include "core/secret_bytes.h"

namespace cli {

namespace {

// "AES-256", "aes256" and "Aes-256" all name AES-256.
std::string Folded(std::string_view name) {
  std::string folded;
  for (const char c : name) {
    if (c != '-') folded += AsciiLower(c);
  }
  return folded;
}

std::vector<TEncryption> ChosenEncryptions(const TCliContext& ctx) {
  std::vector<TEncryption> chosen;
  const auto value = ctx.args.Value("encryption");
  std::string names;
  for (const TGuessRate& rate : GuessRates()) {
    // Unasked, only what a save writes: the other AES strengths cost the same.
    if (!value && EncryptionToWrite(rate.encryption) != rate.encryption) continue;
    // The names the saving commands take name the same encryption here.
    if (!value || Folded(*value) == Folded(EncryptionName(rate.encryption)) ||
        EncryptionToSave(*value) == rate.encryption)
      chosen.push_back(rate.encryption);
    names += (names.empty() ? "" : ", ") + Folded(EncryptionName(rate.encryption));
  }
  if (chosen.empty())
    throw EUsageError(ctx.command,
                      "--encryption must be one of " + names + ", not \"" + *value + "\"");
  return chosen;
}

}  // namespace

int RunStrength(TCliContext& ctx) {
  RequirePositionals(ctx, {});
  const std::vector<TEncryption> encryptions = ChosenEncryptions(ctx);
  auto typed = ctx.passwords.Ask("Password: ");
  if (!typed) throw ECliError(kExitFailure, "no password given on standard input");
  const TSecretBytes password(std::move(*typed));
  const double bits = PasswordEntropyBits(password.view());
  ctx.out << "Strength: " << std::lround(bits) << " bits"
          << (bits < kWeakPasswordBits ? " (weak)" : "") << '\n';
  for (const TEncryption encryption : encryptions) {
    ctx.out << EncryptionName(encryption) << ": " << GuessTimeText(bits, encryption) << '\n';
  }
  return kExitOk;
}

}  // namespace cli
