#pragma once
// The byte streams the archive code reads and writes: an abstract stream with
// read, write, seek and size, a growable memory stream and a file stream.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

enum class SeekOrigin { Begin, Current, End };

class TStream {
 public:
  virtual ~TStream() = default;
  // Returns the bytes actually read (0 at the end).
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Returns the bytes actually written.
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
  // Returns the new position; throws EStreamError when it cannot seek.
  virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
  virtual std::int64_t Size() = 0;

  std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(std::int64_t pos) { Seek(pos, SeekOrigin::Begin); }
  // Reads exactly count bytes or throws EStreamError("Stream read error").
  void ReadExact(void* buffer, std::size_t count);
  // Writes exactly count bytes or throws EStreamError("Stream write error").
  void WriteExact(const void* buffer, std::size_t count);
  // Copies count bytes from source at its position; returns bytes copied.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

class TMemoryStream final : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : data_(std::move(bytes)) {}
  // Member data passes through here decrypted: what it held is wiped, also
  // the buffers that growing leaves behind.
  ~TMemoryStream();
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }

  const std::string& Bytes() const { return data_; }
  std::string TakeBytes();
  void Clear();
  // Room for size bytes without moving the buffer; growing wipes the old one.
  void Reserve(std::size_t size);
  std::size_t Capacity() const { return data_.capacity(); }

  // Writing in place, for a producer that reads back what it wrote (a
  // decoder's history): makes count bytes from the position writable and
  // returns the start of the stream's bytes, valid until the next call.
  // Each OpenWrite is closed by one CloseWrite, which keeps the first used
  // of those bytes, moves the position past them and drops the rest.
  std::uint8_t* OpenWrite(std::size_t count);
  void CloseWrite(std::size_t used) noexcept;

 private:
  std::string data_;
  std::size_t pos_ = 0;
  std::size_t sizeBeforeWrite_ = 0;
};

// A read-only window of a source stream: size bytes starting at start. Reads
// never go past the window, so a decoder cannot run into the bytes that
// follow it. Positions are relative to the window's start.
class TSubStream final : public TStream {
 public:
  TSubStream(TStream& source, std::int64_t start, std::int64_t size)
      : source_(source), start_(start), size_(size) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;  // throws
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override { return size_; }

 private:
  TStream& source_;
  std::int64_t start_;
  std::int64_t size_;
  std::int64_t pos_ = 0;
};

class TFileStream final : public TStream {
 public:
  enum class Mode { Read, Create, ReadWrite };
  // Throws EFileError("Cannot open file <path>") or
  // EFileError("Cannot create file <path>").
  TFileStream(const std::string& path, Mode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override;

  void Truncate(std::int64_t size);
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

// True when a file other than a directory is at path.
bool FileExists(const std::string& path);
