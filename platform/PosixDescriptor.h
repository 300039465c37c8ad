#pragma once

#include <unistd.h>

#include <utility>

namespace nomvarix {

/// Owns a POSIX file descriptor and closes it.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
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

}  // namespace nomvarix
