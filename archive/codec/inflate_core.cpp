// The decoder's setup for one call: bit stream, output window and block
// loop, with internal failures turned into the error the caller sees.
#include "archive/codec/inflate_core.h"

#include <string>

#include "archive/codec/codec_errors.h"
#include "archive/codec/deflate_helper.h"
#include "archive/codec/inflate_decoder.h"

namespace {
constexpr const char* kInflatePrefix =
    "Pellam inflate error, possibly a corrupted compressed stream. (Internal cause: ";
}  // namespace

TInflateOutcome InflateCore(TStream& source, TStream& dest, const TCodecCall& call) {
  const bool deflate64 = (call.options & deflate_options::kDeflate64) != 0;
  TInflateOutcome outcome;
  bool stopped = false;
  TPlDfOutputWindow window(dest, deflate64, (call.options & deflate_options::kTestOnly) != 0,
                           (call.options & deflate_options::kAdler32) != 0, call.outputLimit);
  {
    TPlDfInBitStream bits(source, call.inputSize, call.progress);
    try {
      TPlDfInflater(bits, window, deflate64).Run();
      outcome.checksum = window.Finish();
      bits.Finish();
    } catch (const EPlInternalInflateError& e) {
      throw EPlInflateError(std::string(kInflatePrefix) + e.what() + ")");
    } catch (const EPlPartSizedInflate&) {
      stopped = true;
    } catch (const EPlAbortProgress&) {
      stopped = true;
    }
  }
  if (stopped) outcome.checksum = 0;
  outcome.produced = window.Produced();
  return outcome;
}
