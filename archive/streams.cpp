#include "archive/streams.h"

#include "core/descriptor_io.h"
#include "core/secret_wipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "archive/archive_errors.h"

void TStream::ReadExact(void* buffer, std::size_t count) {
  auto* out = static_cast<char*>(buffer);
  while (count > 0) {
    std::size_t got = Read(out, count);
    if (got == 0) throw EStreamError("Stream read error");
    out += got;
    count -= got;
  }
}

void TStream::WriteExact(const void* buffer, std::size_t count) {
  if (Write(buffer, count) != count) throw EStreamError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  std::vector<char> chunk(64 * 1024);
  std::int64_t copied = 0;
  while (copied < count) {
    auto want = static_cast<std::size_t>(std::min<std::int64_t>(count - copied, chunk.size()));
    std::size_t got = source.Read(chunk.data(), want);
    if (got == 0) break;
    WriteExact(chunk.data(), got);
    copied += static_cast<std::int64_t>(got);
  }
  return copied;
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  if (pos_ >= data_.size()) return 0;
  std::size_t n = std::min(count, data_.size() - pos_);
  std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

TMemoryStream::~TMemoryStream() { WipeString(data_); }

// Grows by doubling, as the string would, but wipes the old buffer first.
void TMemoryStream::Reserve(std::size_t size) {
  if (size > data_.capacity()) ReserveWiping(data_, std::max(size, data_.capacity() * 2));
}

std::uint8_t* TMemoryStream::OpenWrite(std::size_t count) {
  sizeBeforeWrite_ = data_.size();
  const std::size_t need = pos_ + count;
  Reserve(need);
  if (data_.size() < need) data_.resize(need, '\0');
  return reinterpret_cast<std::uint8_t*>(data_.data());
}

void TMemoryStream::CloseWrite(std::size_t used) noexcept {
  pos_ += used;
  // Never longer than OpenWrite made it, so this cannot allocate.
  data_.resize(std::max(sizeBeforeWrite_, pos_));
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return 0;
  Reserve(std::max(pos_, data_.size()) + count);
  if (pos_ > data_.size()) data_.resize(pos_, '\0');
  std::size_t overlap = std::min(count, data_.size() - pos_);
  std::memcpy(data_.data() + pos_, buffer, overlap);
  data_.append(static_cast<const char*>(buffer) + overlap, count - overlap);
  pos_ += count;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
  std::int64_t base = origin == SeekOrigin::Begin     ? 0
                      : origin == SeekOrigin::Current ? static_cast<std::int64_t>(pos_)
                                                      : static_cast<std::int64_t>(data_.size());
  std::int64_t target = base + offset;
  if (target < 0) throw EStreamError("Stream seek error");
  pos_ = static_cast<std::size_t>(target);
  return target;
}

std::string TMemoryStream::TakeBytes() {
  std::string out = std::move(data_);
  Clear();
  return out;
}

void TMemoryStream::Clear() {
  WipeString(data_);
  pos_ = 0;
}

std::size_t TSubStream::Read(void* buffer, std::size_t count) {
  if (pos_ >= size_) return 0;
  auto want = static_cast<std::size_t>(std::min<std::int64_t>(size_ - pos_, count));
  // The source may be shared with other readers, so every read seeks first.
  source_.SetPosition(start_ + pos_);
  std::size_t got = source_.Read(buffer, want);
  pos_ += static_cast<std::int64_t>(got);
  return got;
}

std::size_t TSubStream::Write(const void*, std::size_t) {
  throw EStreamError("Stream write error");
}

std::int64_t TSubStream::Seek(std::int64_t offset, SeekOrigin origin) {
  std::int64_t base = origin == SeekOrigin::Begin     ? 0
                      : origin == SeekOrigin::Current ? pos_
                                                      : size_;
  std::int64_t target = base + offset;
  if (target < 0) throw EStreamError("Stream seek error");
  pos_ = target;
  return target;
}

TFileStream::TFileStream(const std::string& path, Mode mode) : path_(path) {
  switch (mode) {
    case Mode::Read:
      fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      break;
    case Mode::ReadWrite:
      fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
      break;
    case Mode::Create:
      fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
      break;
  }
  if (fd_ < 0) {
    throw EFileError((mode == Mode::Create ? "Cannot create file " : "Cannot open file ") + path);
  }
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  const TIoResult got = ReadFully(fd_, buffer, count);
  if (got.error != 0) throw EStreamError("Stream read error");
  return got.count;
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
  return WriteFully(fd_, buffer, count).count;
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  int whence = origin == SeekOrigin::Begin     ? SEEK_SET
               : origin == SeekOrigin::Current ? SEEK_CUR
                                               : SEEK_END;
  off_t pos = ::lseek(fd_, static_cast<off_t>(offset), whence);
  if (pos < 0) throw EStreamError("Stream seek error");
  return pos;
}

std::int64_t TFileStream::Size() {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) throw EStreamError("Stream read error");
  return st.st_size;
}

void TFileStream::Truncate(std::int64_t size) {
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
    throw EStreamError(ZipErrorMessage(TZipErrorCode::InvalidStream));
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}
