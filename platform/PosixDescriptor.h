#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace nomvarix {

/// Owns a POSIX file descriptor and closes it.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  /// Gives the descriptor up, for a close whose result matters.
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

/// Writes all of `bytes` to `fd`, again after an interruption; false when a write fails.
inline bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

/// Everything left to read from `fd`; nothing when a read fails or when it holds more than
/// `maxBytes`.
inline std::optional<std::string> ReadAll(int fd, std::size_t maxBytes) {
  std::string data;
  char buffer[8192];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) return data;
    if (static_cast<std::size_t>(n) > maxBytes - data.size()) return std::nullopt;
    data.append(buffer, static_cast<std::size_t>(n));
  }
}

/// Opens `path` only when it is a regular file (a link is followed), with `flags` added to a
/// non-blocking open: the path is checked before the open, so that no device is ever opened, and
/// the open file again, since a pipe may have been put in the file's place meanwhile. `info` gets
/// the open file's status. Invalid otherwise, with errno kept from the failing call (EINVAL for a
/// file that is not a regular one).
inline FileDescriptor OpenRegularNative(const std::string& path, int flags, struct stat& info) {
  if (stat(path.c_str(), &info) != 0) return FileDescriptor(-1);
  if (!S_ISREG(info.st_mode)) {
    errno = EINVAL;
    return FileDescriptor(-1);
  }
  FileDescriptor fd(open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return fd;
  if (fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    errno = EINVAL;
    return FileDescriptor(-1);
  }
  return fd;
}

}  // namespace nomvarix
