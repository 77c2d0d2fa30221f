#pragma once
// The one-instance pattern of the process-wide services: only the accessor
// function may construct the instance, and only once. A direct construction
// throws "use <accessor> accessor function".

#include <memory>
#include <stdexcept>
#include <string>

// The base of a service the accessor makes: being the one instance, it is
// never copied.
class TAccessed {
 public:
  TAccessed(const TAccessed&) = delete;
  TAccessed& operator=(const TAccessed&) = delete;

 protected:
  TAccessed() = default;
  ~TAccessed() = default;
};

template <class T>
class TAccessor {
 public:
  explicit TAccessor(const char* accessorName) : name_(accessorName) {}

  // The instance, created on the first call.
  T& Get() {
    if (!instance_) {
      open_ = true;
      // Closes the gate again whether or not the constructor throws.
      struct Reclose {
        bool& gate;
        ~Reclose() { gate = false; }
      } reclose{open_};
      instance_ = std::make_unique<T>();
    }
    return *instance_;
  }

  // Called first thing by T's constructor.
  void Admit() const {
    if (instance_ || !open_) throw std::runtime_error("use " + name_ + " accessor function");
  }

 private:
  std::string name_;
  bool open_ = false;
  std::unique_ptr<T> instance_;
};
