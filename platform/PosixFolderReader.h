#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/PosixDescriptor.h"

namespace nomvarix {

/// Reads the entries of a folder in large batches: on Linux with getdents64 into a buffer of
/// `batchBytes` (one system call per some 20,000 names at 1 MiB, where readdir asks for 32 KiB at
/// a time), elsewhere with readdir. "." and ".." come as the system lists them.
class PosixFolderReader {
 public:
  /// One entry; `name` (NUL-terminated) is valid until the next call of Next.
  struct Entry {
    const char* name = nullptr;
    unsigned char type = 0;  ///< DT_REG, DT_DIR, DT_LNK, ... or DT_UNKNOWN
    std::uint64_t inode = 0;
  };

  static constexpr std::size_t kBatchBytes = std::size_t{1} << 20;

  /// Opens `folder` (its path as the system takes it). `batchBytes` must hold the longest entry
  /// (some 280 bytes).
  explicit PosixFolderReader(const std::string& folder, std::size_t batchBytes = kBatchBytes);
  ~PosixFolderReader();
  PosixFolderReader(const PosixFolderReader&) = delete;
  PosixFolderReader& operator=(const PosixFolderReader&) = delete;

  /// Whether the folder could be opened.
  bool IsOpen() const;
  /// The folder's descriptor, for calls relative to it (fstatat).
  int Descriptor() const;
  /// The next entry; null at the end, or when reading failed (then Failed() is true).
  const Entry* Next();
  bool Failed() const { return failed_; }

 private:
  struct Dir;
  FileDescriptor fd_;
  std::unique_ptr<Dir> dir_;  ///< the readdir stream where there is no getdents64
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  std::size_t at_ = 0;
  bool ended_ = false;
  bool failed_ = false;
  Entry entry_;
};

}  // namespace nomvarix
