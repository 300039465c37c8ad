#include "platform/PosixFolderReader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace nomvarix {

#if defined(__linux__) && defined(SYS_getdents64)

namespace {

/// The kernel's record, which glibc does not declare before 2.30.
struct LinuxDirent64 {
  std::uint64_t d_ino;
  std::int64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[1];
};

}  // namespace

struct PosixFolderReader::Dir {};

PosixFolderReader::PosixFolderReader(const std::string& folder, std::size_t batchBytes)
    : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), buffer_(fd_.valid() ? batchBytes : 0) {}

PosixFolderReader::~PosixFolderReader() = default;

bool PosixFolderReader::IsOpen() const { return fd_.valid(); }

int PosixFolderReader::Descriptor() const { return fd_.get(); }

const PosixFolderReader::Entry* PosixFolderReader::Next() {
  if (!fd_.valid() || ended_) return nullptr;
  if (at_ >= used_) {
    long read = 0;
    do {
      read = syscall(SYS_getdents64, fd_.get(), buffer_.data(), buffer_.size());
    } while (read < 0 && errno == EINTR);
    if (read <= 0) {
      ended_ = true;
      failed_ = read < 0;
      return nullptr;
    }
    used_ = static_cast<std::size_t>(read);
    at_ = 0;
  }
  // Records are 8-byte aligned within the buffer; memcpy reads their fields without assuming it.
  const char* record = buffer_.data() + at_;
  unsigned short length = 0;
  std::memcpy(&entry_.inode, record + offsetof(LinuxDirent64, d_ino), sizeof entry_.inode);
  std::memcpy(&length, record + offsetof(LinuxDirent64, d_reclen), sizeof length);
  entry_.type = static_cast<unsigned char>(record[offsetof(LinuxDirent64, d_type)]);
  entry_.name = record + offsetof(LinuxDirent64, d_name);
  at_ += length;
  return &entry_;
}

#else

struct PosixFolderReader::Dir {
  DIR* stream = nullptr;
};

PosixFolderReader::PosixFolderReader(const std::string& folder, std::size_t)
    : fd_(-1), dir_(std::make_unique<Dir>()) {
  dir_->stream = opendir(folder.c_str());
}

PosixFolderReader::~PosixFolderReader() {
  if (dir_->stream) closedir(dir_->stream);
}

bool PosixFolderReader::IsOpen() const { return dir_->stream != nullptr; }

int PosixFolderReader::Descriptor() const { return dirfd(dir_->stream); }

const PosixFolderReader::Entry* PosixFolderReader::Next() {
  if (!dir_->stream || ended_) return nullptr;
  errno = 0;
  const dirent* entry = readdir(dir_->stream);
  if (!entry) {
    ended_ = true;
    failed_ = errno != 0;
    return nullptr;
  }
  entry_ = {entry->d_name, entry->d_type, static_cast<std::uint64_t>(entry->d_ino)};
  return &entry_;
}

#endif

}  // namespace nomvarix
