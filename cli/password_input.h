#pragma once
// Where passwords come from. On a terminal each prompt is written to standard
// error and the answer is read with echo turned off; otherwise each prompt
// silently takes the next line of standard input (without its CR LF or LF),
// so scripts can pipe passwords one per line.

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "core/secret_bytes.h"

namespace cli {

class TPasswordInput {
 public:
  virtual ~TPasswordInput() = default;
  // The answer, or nullopt when the input has ended.
  virtual std::optional<TSecretBytes> Ask(const std::string& prompt) = 0;
  // True when a person answers (a terminal): a wrong answer may be asked again.
  virtual bool Interactive() const = 0;
};

// Reads from `in`; `interactive` turns on the prompt and the echo control of
// standard input's terminal.
class TStreamPasswordInput final : public TPasswordInput {
 public:
  TStreamPasswordInput(std::istream& in, std::ostream& promptOut, bool interactive)
      : in_(in), promptOut_(promptOut), interactive_(interactive) {}
  std::optional<TSecretBytes> Ask(const std::string& prompt) override;
  bool Interactive() const override { return interactive_; }

 private:
  std::istream& in_;
  std::ostream& promptOut_;
  bool interactive_;
};

// True when standard input is a terminal.
bool StdinIsTerminal();

// One line of `in` without its CR LF or LF; nullopt at the end of the input.
// Standard input is read byte by byte from its descriptor, so that no
// stream buffer keeps a copy of the password.
std::optional<TSecretBytes> ReadPasswordLine(std::istream& in);

// Asks for a new password twice. Throws ECliError when the input ends or the
// two answers differ ("New password and confirmation must be the same").
TSecretBytes AskNewPassword(TPasswordInput& input);

}  // namespace cli
