#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

namespace nomvarix::test {

/// A named pipe with a writer waiting on a thread of its own to open it. A reader that opens it
/// and waits lets the writer through (and then reads an empty file) instead of hanging the test;
/// `ReaderCameBy` tells whether any reader opened it. At the end a reader of its own, which does
/// not wait, releases a writer still waiting.
class WaitingFifo {
 public:
  explicit WaitingFifo(std::string path) : path_(std::move(path)) {
    created_ = mkfifo(path_.c_str(), 0600) == 0;
    if (!created_) return;
    writer_ = std::thread([this] {
      const int fd = open(path_.c_str(), O_WRONLY | O_CLOEXEC);
      readerCame_ = true;
      if (fd >= 0) close(fd);
    });
  }
  WaitingFifo(const WaitingFifo&) = delete;
  WaitingFifo& operator=(const WaitingFifo&) = delete;
  ~WaitingFifo() {
    if (!created_) return;
    const int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer_.join();
    if (fd >= 0) close(fd);
  }

  bool Created() const { return created_; }
  bool ReaderCameBy() const { return readerCame_; }

 private:
  std::string path_;
  bool created_ = false;
  std::atomic<bool> readerCame_ = false;
  std::thread writer_;
};

}  // namespace nomvarix::test
