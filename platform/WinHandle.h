#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
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

/// Writes all of `bytes` to `file`, in pieces WriteFile takes; false when a write fails.
inline bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

/// Everything left to read from `file`; nothing when a read fails or when it holds more than
/// `maxBytes`.
inline std::optional<std::string> ReadAll(HANDLE file, std::size_t maxBytes) {
  std::string data;
  char buffer[8192];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
    if (read == 0) return data;
    if (read > maxBytes - data.size()) return std::nullopt;
    data.append(buffer, read);
  }
}

}  // namespace nomvarix
