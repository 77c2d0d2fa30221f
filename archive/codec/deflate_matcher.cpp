// Matcher loop: one hash insertion per input byte and a bounded chain walk
// per search (see deflate_input_window.h). A found match is held pending for
// one position; a longer match at the next position replaces it (the
// pending match's first byte becomes a literal), otherwise it is emitted.
#include "archive/codec/deflate_matcher.h"

#include <cmath>

#include "archive/codec/deflate_helper.h"
#include "archive/codec/deflate_input_window.h"
#include "archive/codec/deflate_lz_stream.h"
#include "archive/codec/deflate_tables.h"

namespace {

constexpr std::int64_t kDoublingPoint = 1024;
constexpr int kFarDistance = 4096;
constexpr std::int64_t kProgressStep = 4096;

class Matcher {
 public:
  Matcher(TStream& source, TPlDfOutBitStream& out, const TCodecCall& call, BlockKinds kinds);
  std::uint32_t Run();

 private:
  struct Pending {
    int length = 0;
    int distance = 0;
    std::uint8_t byte = 0;
  };

  void MaybeDouble();
  void EndBlock(bool final);
  void AddPendingMatch();
  void ReportProgress();
  void ReadInput(std::int64_t offset, std::size_t count, std::uint8_t* dest);

  TStream& source_;
  std::int64_t sourceStart_;
  TPlDfOutBitStream& out_;
  const TCodecCall& call_;
  TDeflateTuning tuning_;
  BlockKinds kinds_;
  bool deflate64_;
  TPlDfInputWindow window_;
  TPlDfLZStream lz_;
  Pending pending_;
  bool doublingChecked_ = false;
  std::int64_t nextProgress_ = kProgressStep;
};

std::uint32_t WindowSize(const TCodecCall& call, bool deflate64) {
  // A power of two between 256 bytes and the format's window.
  std::size_t largest = deflate64 ? deflate_tables::kWindowSize64 : deflate_tables::kWindowSize;
  std::uint32_t w = 256;
  while (w < call.windowBytes && w < largest) w <<= 1;
  return w;
}

Matcher::Matcher(TStream& source, TPlDfOutBitStream& out, const TCodecCall& call,
                 BlockKinds kinds)
    : source_(source),
      sourceStart_(source.Position()),
      out_(out),
      call_(call),
      tuning_(call.tuning),
      kinds_(kinds),
      deflate64_((call.options & deflate_options::kDeflate64) != 0),
      window_(source, WindowSize(call, deflate64_), deflate64_ ? 65536 : deflate_tables::kMaxMatch,
              (call.options & deflate_options::kAdler32) != 0),
      lz_(deflate64_) {}

void Matcher::MaybeDouble() {
  if (doublingChecked_ || lz_.StoredSize() != kDoublingPoint) return;
  doublingChecked_ = true;
  // Text without zero bytes is worth a deeper search.
  if (call_.deeperTextSearch && !lz_.HasZeroLiteral()) tuning_ = deflate_tuning::Doubled(tuning_);
}

void Matcher::ReadInput(std::int64_t offset, std::size_t count, std::uint8_t* dest) {
  std::int64_t saved = source_.Position();
  source_.SetPosition(sourceStart_ + offset);
  source_.ReadExact(dest, count);
  source_.SetPosition(saved);
}

void Matcher::EndBlock(bool final) {
  WriteBlock(out_, lz_, final, kinds_,
             [this](std::int64_t offset, std::size_t count, std::uint8_t* dest) {
               ReadInput(offset, count, dest);
             });
  lz_.Reset(lz_.Offset() + lz_.StoredSize());
}

void Matcher::AddPendingMatch() {
  lz_.AddMatch(pending_.length, pending_.distance);
  pending_ = {};
}

void Matcher::ReportProgress() {
  if (!call_.progress || call_.inputSize <= 0) return;
  std::int64_t passed = window_.Offset();
  if (passed < nextProgress_) return;
  nextProgress_ = (passed / kProgressStep + 1) * kProgressStep;
  call_.progress(static_cast<int>(std::lround(passed * 100.0 / call_.inputSize)));
}

std::uint32_t Matcher::Run() {
  window_.Prepare();
  while (window_.Left() >= 3) {
    MaybeDouble();
    if (lz_.WantsEnd()) EndBlock(false);
    const int sufficient = deflate_tuning::Effective(tuning_.sufficientLength);
    const int lazy = deflate_tuning::Effective(tuning_.lazyLimit);
    const int chain = deflate_tuning::Effective(tuning_.chainLimit);
    const std::uint8_t here = window_.CurrentByte();
    TPlDfInputWindow::Match found = window_.Search(pending_.length, sufficient, chain);
    if (found.length == 3 && found.distance > kFarDistance) found = {};
    if (found.length > 0) {
      if (pending_.length > 0) lz_.AddLiteral(pending_.byte);
      pending_ = {found.length, found.distance, here};
      window_.Advance(1);
      if (pending_.length >= lazy) {
        int length = pending_.length;
        AddPendingMatch();
        window_.Advance(static_cast<std::size_t>(length - 1));
      }
    } else if (pending_.length > 0) {
      int length = pending_.length;
      AddPendingMatch();
      window_.Advance(static_cast<std::size_t>(length - 1));
    } else {
      lz_.AddLiteral(here);
      window_.Advance(1);
    }
    ReportProgress();
    window_.Prepare();
  }
  // One or two bytes left: a pending match (of length 3) covers them, else
  // they are literals. They join the current block, which is the final one
  // even if the block-end rule has just asked for a new block: a block of
  // one or two items would cost more than it saves.
  if (pending_.length > 0) {
    AddPendingMatch();
    window_.Advance(window_.Left());
  }
  while (window_.Left() > 0) {
    lz_.AddLiteral(window_.CurrentByte());
    window_.Advance(1);
  }
  EndBlock(true);
  return window_.Checksum();
}

}  // namespace

std::uint32_t DeflateStaticDynamic(TStream& source, TPlDfOutBitStream& out,
                                   const TCodecCall& call, BlockKinds kinds) {
  return Matcher(source, out, call, kinds).Run();
}
