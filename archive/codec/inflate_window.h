#pragma once
// Output of the decoder: one contiguous run of bytes that literals and
// back-reference copies extend at End(), with the history a back-reference
// may reach just before it. Two homes for those bytes:
//
// - In place, when the destination is a memory stream: the decoder writes
//   straight into the stream's buffer, which is then the history too, so
//   nothing is copied or moved. The buffer is opened 256 KiB at a time (plus
//   the slack below); at each stop the finished piece is checksummed while
//   it is still in cache and kept, and the next piece is opened.
// - Through a window, for any other stream: once End() reaches the stop
//   point the window flushes its oldest 256 KiB (checksum, write, move the
//   rest down, so at least the 32 KiB (Deflate64: 64 KiB) a back-reference
//   may reach stay behind).
//
// When the stop point is the output limit either one cuts the output there
// and ends decoding. A copy may run up to the longest match past the stop
// point and up to 32 bytes further (word copies), hence the slack.

#include <cstdint>
#include <vector>
#include <string.h>

#include "archive/codec/deflate_tables.h"
#include "archive/streams.h"

class TPlDfOutputWindow {
 public:
  // Large pieces keep the window's history move down to a small part of the
  // output and give the checksum and the writer long runs; in place, a
  // piece still fits the processor's second-level cache when checksummed.
  static constexpr std::size_t kSlide = 262144;
  static constexpr std::size_t kSlack = deflate_tables::kMaxMatch + 32;
  // In place, the shortest piece: the first ones into a stream without room
  // (so that small output costs little), the last before a reserved
  // buffer's end (below it, the buffer is grown instead).
  static constexpr std::size_t kMinPiece = 4096;

  // outputLimit 0 means no limit. Decodes in place when dest is a memory
  // stream and the output is kept.
  TPlDfOutputWindow(TStream& dest, bool deflate64, bool testOnly, bool adler32,
                    std::int64_t outputLimit);
  // The window holds decoded text, such as a site list: it is wiped. In
  // place, what was decoded before a failure is kept.
  ~TPlDfOutputWindow();
  TPlDfOutputWindow(const TPlDfOutputWindow&) = delete;
  TPlDfOutputWindow& operator=(const TPlDfOutputWindow&) = delete;

  // The oldest byte a back-reference may reach; moves when Overflow() does.
  std::uint8_t* Begin() { return begin_; }
  std::uint8_t* End() { return end_; }
  void SetEnd(std::uint8_t* end) { end_ = end; }
  // The decoder may append freely while End() is below this point.
  std::uint8_t* StopPoint() { return stop_; }
  // Called once End() >= StopPoint(): passes on the finished piece, or throws
  // EPlPartSizedInflate when the output limit is reached. All pointers may
  // change.
  void Overflow();
  // Appends a back-reference of any length (Deflate64 allows 65,538 bytes),
  // passing pieces on the way. The distance must already be checked.
  void CopyLong(std::size_t distance, std::size_t length);
  // Bytes that may be written at End() before Overflow() is due.
  std::size_t Room() const { return static_cast<std::size_t>(stop_ - end_); }
  // Passes on what is left and returns the checksum of all output.
  std::uint32_t Finish();
  // Total bytes produced (written or, in test mode, counted).
  std::int64_t Produced() const { return flushed_ + (end_ - piece_); }

 private:
  // Checksums the next count bytes from piece_ and, through the window,
  // writes them.
  void Flush(std::size_t count);
  void Slide();
  void OpenPiece();
  void ClosePiece() noexcept;
  void UpdateStop(std::uint8_t* pieceEnd);

  TStream& dest_;
  TMemoryStream* inPlace_;
  bool testOnly_;
  bool adler32_;
  std::int64_t limit_;
  std::size_t writePoint_;
  std::vector<std::uint8_t> buffer_;
  // In place: where this call's output starts in the stream.
  std::int64_t startPos_ = 0;
  bool pieceOpen_ = false;
  std::uint8_t* begin_ = nullptr;
  // The first byte not yet checksummed.
  std::uint8_t* piece_ = nullptr;
  std::uint8_t* end_ = nullptr;
  std::uint8_t* stop_ = nullptr;
  std::int64_t flushed_ = 0;
  std::uint32_t checksum_;
};
