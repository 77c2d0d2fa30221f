#include "archive/codec/inflate_window.h"

#include <algorithm>
#include <cstring>

#include "archive/codec/adler32.h"
#include "archive/codec/codec_errors.h"
#include "archive/codec/crc32.h"

namespace {
// A flush at the write point leaves the history a back-reference may reach.
constexpr std::size_t kWritePoint = TPlDfOutputWindow::kSlide + deflate_tables::kWindowSize;
constexpr std::size_t kWritePoint64 = TPlDfOutputWindow::kSlide + deflate_tables::kWindowSize64;

TMemoryStream* InPlaceDestination(TStream& dest, bool testOnly) {
  return testOnly ? nullptr : dynamic_cast<TMemoryStream*>(&dest);
}
}  // namespace

TPlDfOutputWindow::TPlDfOutputWindow(TStream& dest, bool deflate64, bool testOnly, bool adler32,
                                     std::int64_t outputLimit)
    : dest_(dest),
      inPlace_(InPlaceDestination(dest, testOnly)),
      testOnly_(testOnly),
      adler32_(adler32),
      limit_(outputLimit > 0 ? outputLimit : 0),
      writePoint_(deflate64 ? kWritePoint64 : kWritePoint),
      buffer_(inPlace_ ? 0 : writePoint_ + kSlack),
      checksum_(adler32 ? 1u : 0xFFFFFFFFu) {
  if (inPlace_) {
    startPos_ = inPlace_->Position();
    OpenPiece();
    return;
  }
  begin_ = piece_ = end_ = buffer_.data();
  UpdateStop(buffer_.data() + writePoint_);
}

TPlDfOutputWindow::~TPlDfOutputWindow() {
  ClosePiece();
  // In place there is no window buffer, and bzero takes no null pointer.
  if (!buffer_.empty()) explicit_bzero(buffer_.data(), buffer_.size());
}

void TPlDfOutputWindow::UpdateStop(std::uint8_t* pieceEnd) {
  stop_ = pieceEnd;
  if (limit_ > 0 && limit_ - flushed_ < stop_ - piece_) stop_ = piece_ + (limit_ - flushed_);
}

void TPlDfOutputWindow::OpenPiece() {
  const auto pos = static_cast<std::size_t>(startPos_ + flushed_);
  const std::size_t capacity = inPlace_->Capacity();
  const std::size_t room = capacity > pos ? capacity - pos : 0;
  // Near the end of a reserved buffer a shorter piece avoids growing it;
  // without room, pieces grow with the output, so a small one stays small.
  const std::size_t piece =
      room >= kMinPiece + kSlack
          ? std::min(kSlide, room - kSlack)
          : std::clamp(static_cast<std::size_t>(flushed_), kMinPiece, kSlide);
  std::uint8_t* data = inPlace_->OpenWrite(piece + kSlack);
  pieceOpen_ = true;
  begin_ = data + startPos_;
  piece_ = end_ = data + pos;
  UpdateStop(end_ + piece);
}

void TPlDfOutputWindow::ClosePiece() noexcept {
  if (!pieceOpen_) return;
  pieceOpen_ = false;
  // The piece was opened where the checksummed bytes ended.
  const auto opened = static_cast<std::size_t>(startPos_ + flushed_) -
                      static_cast<std::size_t>(inPlace_->Position());
  inPlace_->CloseWrite(opened + static_cast<std::size_t>(end_ - piece_));
}

void TPlDfOutputWindow::Flush(std::size_t count) {
  if (count == 0) return;
  checksum_ =
      adler32_ ? Adler32Update(checksum_, piece_, count) : Crc32Update(checksum_, piece_, count);
  if (!inPlace_ && !testOnly_) dest_.WriteExact(piece_, count);
  flushed_ += static_cast<std::int64_t>(count);
  piece_ += count;
}

void TPlDfOutputWindow::Overflow() {
  if (limit_ > 0 && Produced() >= limit_) {
    // Cut at the limit: nothing past it is ever written.
    end_ = piece_ + (limit_ - flushed_);
    Flush(static_cast<std::size_t>(end_ - piece_));
    if (inPlace_) ClosePiece();
    else begin_ = piece_ = end_ = buffer_.data();
    throw EPlPartSizedInflate();
  }
  if (inPlace_) {
    Flush(static_cast<std::size_t>(end_ - piece_));
    ClosePiece();
    OpenPiece();
    return;
  }
  if (end_ >= buffer_.data() + writePoint_) Slide();
}

void TPlDfOutputWindow::Slide() {
  Flush(kSlide);
  const auto keep = static_cast<std::size_t>(end_ - piece_);
  std::memmove(buffer_.data(), piece_, keep);
  piece_ = buffer_.data();
  end_ = piece_ + keep;
  UpdateStop(buffer_.data() + writePoint_);
}

void TPlDfOutputWindow::CopyLong(std::size_t distance, std::size_t length) {
  while (length > 0) {
    std::size_t n = std::min<std::size_t>(length, deflate_tables::kMaxMatch);
    const std::uint8_t* src = end_ - distance;
    for (std::size_t i = 0; i < n; ++i) end_[i] = src[i];
    end_ += n;
    length -= n;
    if (end_ >= stop_) Overflow();
  }
}

std::uint32_t TPlDfOutputWindow::Finish() {
  Flush(static_cast<std::size_t>(end_ - piece_));
  if (inPlace_) ClosePiece();
  else begin_ = piece_ = end_ = buffer_.data();
  return adler32_ ? checksum_ : ~checksum_;
}
