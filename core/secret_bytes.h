#pragma once
// A password or other secret text that overwrites its bytes when it is
// replaced or destroyed, so that freed heap blocks hold nothing to find.

#include <string>
#include <string_view>
#include <utility>

#include "core/secret_wipe.h"

class TSecretBytes {
 public:
  TSecretBytes() = default;
  explicit TSecretBytes(std::string&& text) : bytes_(std::move(text)) { WipeString(text); }
  explicit TSecretBytes(std::string_view text) : bytes_(text) {}
  TSecretBytes(const TSecretBytes& other) : bytes_(other.bytes_) {}
  TSecretBytes(TSecretBytes&& other) noexcept : bytes_(std::move(other.bytes_)) { WipeString(other.bytes_); }
  TSecretBytes& operator=(const TSecretBytes& other) {
    if (this != &other) Assign(other.bytes_);
    return *this;
  }
  TSecretBytes& operator=(TSecretBytes&& other) noexcept {
    if (this != &other) {
      WipeString(bytes_);
      bytes_ = std::move(other.bytes_);
      WipeString(other.bytes_);
    }
    return *this;
  }
  // A copy of text the caller still owns (and wipes when it must).
  TSecretBytes& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }
  ~TSecretBytes() { WipeString(bytes_); }

  // Replaces the secret; the old bytes are wiped first, and so is a buffer
  // that growing would release.
  void Assign(std::string_view text) {
    WipeString(bytes_);
    if (text.size() > bytes_.capacity()) {
      std::string bigger;
      bigger.reserve(text.size());
      bytes_.swap(bigger);
    }
    bytes_.assign(text);
  }
  void Clear() { WipeString(bytes_); }

  const std::string& str() const { return bytes_; }
  std::string_view view() const { return bytes_; }
  const char* c_str() const { return bytes_.c_str(); }
  bool empty() const { return bytes_.empty(); }
  std::size_t size() const { return bytes_.size(); }
  friend bool operator==(const TSecretBytes& a, const TSecretBytes& b) { return a.bytes_ == b.bytes_; }

 private:
  std::string bytes_;
};
