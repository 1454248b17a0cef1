// A movable block of the local heap, locked while the object lives.
#pragma once

#include <windows.h>

template <typename T>
class LockedLocal {
 public:
  // Locks `block` (none when null); test with operator bool.
  explicit LockedLocal(HLOCAL block)
      : block_(block), data_(block != nullptr ? static_cast<T*>(LocalLock(block)) : nullptr) {}
  ~LockedLocal() {
    if (data_ != nullptr) LocalUnlock(block_);
  }
  LockedLocal(const LockedLocal&) = delete;
  LockedLocal& operator=(const LockedLocal&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  T* get() const { return data_; }
  T* operator->() const { return data_; }

 private:
  HLOCAL block_;
  T* data_;
};
