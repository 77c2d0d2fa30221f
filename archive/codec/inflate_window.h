#pragma once
// Output window of the decoder.
//
// The decoder writes straight into one buffer: literals and back-reference
// copies go to End(). Once End() reaches the stop point the window either
// flushes its oldest 256 KiB (checksum, write, move the rest down, so at least
// the 32 KiB (Deflate64: 64 KiB) a back-reference may reach stay behind) or,
// when the stop point is the output limit, cuts the output there and ends
// decoding. A copy may run up to the longest match past the stop point and
// up to 32 bytes further (word copies), so the buffer is that much longer.

#include <cstdint>
#include <vector>
#include <string.h>

#include "archive/codec/deflate_tables.h"
#include "archive/streams.h"

class TPlDfOutputWindow {
 public:
  // Flushing in large pieces keeps the move of the kept history down to a
  // quarter of the output and gives the checksum and the writer long runs.
  static constexpr std::size_t kSlide = 262144;
  static constexpr std::size_t kSlack = deflate_tables::kMaxMatch + 32;

  // outputLimit 0 means no limit.
  TPlDfOutputWindow(TStream& dest, bool deflate64, bool testOnly, bool adler32,
                    std::int64_t outputLimit);
  // The window holds decoded text, such as a site list: it is wiped.
  ~TPlDfOutputWindow() { explicit_bzero(buffer_.data(), buffer_.size()); }
  TPlDfOutputWindow(const TPlDfOutputWindow&) = delete;
  TPlDfOutputWindow& operator=(const TPlDfOutputWindow&) = delete;

  std::uint8_t* Begin() { return buffer_.data(); }
  std::uint8_t* End() { return end_; }
  void SetEnd(std::uint8_t* end) { end_ = end; }
  // The decoder may append freely while End() is below this point.
  std::uint8_t* StopPoint() { return stop_; }
  // Called once End() >= StopPoint(): flushes the oldest kSlide bytes, or
  // throws EPlPartSizedInflate when the output limit is reached.
  void Overflow();
  // Appends a back-reference of any length (Deflate64 allows 65,538 bytes),
  // flushing on the way. The distance must already be checked.
  void CopyLong(std::size_t distance, std::size_t length);
  // Bytes that may be written at End() before Overflow() is due.
  std::size_t Room() const { return static_cast<std::size_t>(stop_ - end_); }
  // Writes what is left and returns the checksum of all output.
  std::uint32_t Finish();
  // Total bytes produced (written or, in test mode, counted).
  std::int64_t Produced() const { return flushed_ + (end_ - buffer_.data()); }

 private:
  void Flush(std::size_t count);
  void UpdateStop();

  TStream& dest_;
  bool testOnly_;
  bool adler32_;
  std::int64_t limit_;
  std::size_t writePoint_;
  std::vector<std::uint8_t> buffer_;
  std::uint8_t* end_;
  std::uint8_t* stop_ = nullptr;
  std::int64_t flushed_ = 0;
  std::uint32_t checksum_;
};
