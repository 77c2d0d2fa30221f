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
}  // namespace

TPlDfOutputWindow::TPlDfOutputWindow(TStream& dest, bool deflate64, bool testOnly, bool adler32,
                                     std::int64_t outputLimit)
    : dest_(dest),
      testOnly_(testOnly),
      adler32_(adler32),
      limit_(outputLimit > 0 ? outputLimit : 0),
      writePoint_(deflate64 ? kWritePoint64 : kWritePoint),
      buffer_(writePoint_ + kSlack),
      end_(buffer_.data()),
      checksum_(adler32 ? 1u : 0xFFFFFFFFu) {
  UpdateStop();
}

void TPlDfOutputWindow::UpdateStop() {
  std::size_t stop = writePoint_;
  if (limit_ > 0) {
    std::int64_t room = limit_ - flushed_;
    if (room < static_cast<std::int64_t>(stop)) stop = static_cast<std::size_t>(room);
  }
  stop_ = buffer_.data() + stop;
}

void TPlDfOutputWindow::Flush(std::size_t count) {
  if (count == 0) return;
  const std::uint8_t* data = buffer_.data();
  checksum_ =
      adler32_ ? Adler32Update(checksum_, data, count) : Crc32Update(checksum_, data, count);
  if (!testOnly_) dest_.WriteExact(data, count);
  flushed_ += static_cast<std::int64_t>(count);
}

void TPlDfOutputWindow::Overflow() {
  if (limit_ > 0 && Produced() >= limit_) {
    // Cut at the limit: nothing past it is ever written.
    end_ = buffer_.data() + (limit_ - flushed_);
    Flush(static_cast<std::size_t>(end_ - buffer_.data()));
    end_ = buffer_.data();
    throw EPlPartSizedInflate();
  }
  if (end_ < buffer_.data() + writePoint_) return;
  Flush(kSlide);
  std::size_t keep = static_cast<std::size_t>(end_ - buffer_.data()) - kSlide;
  std::memmove(buffer_.data(), buffer_.data() + kSlide, keep);
  end_ = buffer_.data() + keep;
  UpdateStop();
  if (limit_ > 0 && Produced() >= limit_) Overflow();
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
  Flush(static_cast<std::size_t>(end_ - buffer_.data()));
  end_ = buffer_.data();
  return adler32_ ? checksum_ : ~checksum_;
}
