#pragma once

#include <windows.h>

#include <utility>

namespace nomvarix {

/// Owns a handle and closes it with `Close`; both kinds used here report failure as
/// INVALID_HANDLE_VALUE.
template <BOOL(WINAPI* Close)(HANDLE)>
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() {
    if (valid()) Close(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE handle_;
};

using Handle = ScopedHandle<CloseHandle>;
using FindHandle = ScopedHandle<FindClose>;

}  // namespace nomvarix
