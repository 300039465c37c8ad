#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/MakeFolders.h"
#include "platform/Path.h"
#include "platform/PosixDescriptor.h"
#include "platform/SharedFile.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// Writes `bytes` to a new file `temporary`, owner-only whatever the umask, and on the disk.
bool WriteNewFile(const std::string& temporary, std::string_view bytes) {
  unlink(temporary.c_str());  // left by a program killed half way; it may have another mode
  FileDescriptor fd(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!fd.valid()) return false;
  const bool written = fchmod(fd.get(), 0600) == 0 && WriteAll(fd.get(), bytes) && fsync(fd.get()) == 0;
  return close(fd.release()) == 0 && written;
}

/// The file a path stands for: the end of its chain of links, or the path itself when it names no
/// link. A dangling link stands for the file it names, which a write then creates.
std::string FileBehind(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  std::unique_ptr<char, decltype(&free)> resolved(realpath(path.c_str(), nullptr), &free);
  if (resolved) return resolved.get();
  char target[PATH_MAX];
  const ssize_t length = readlink(path.c_str(), target, sizeof target);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return std::string();
  const std::string named(target, static_cast<std::size_t>(length));
  if (named.front() == '/') return named;
  return path.substr(0, path.rfind('/') + 1) + named;
}

/// Holds the lock on a folder's shared files for as long as it lives. The folder itself is
/// locked, so that no lock file is left beside the settings.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    while (fd_.valid() && flock(fd_.get(), LOCK_EX) != 0) {
      if (errno != EINTR) {
        locked_ = false;
        return;
      }
    }
    locked_ = fd_.valid();
  }
  bool locked() const { return locked_; }

 private:
  FileDescriptor fd_;
  bool locked_ = false;
};

bool IsReadOnly(const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

SharedFileContent ReadSharedFileChecked(std::u16string_view path, std::size_t maxBytes) {
  SharedFileContent content;
  struct stat info {};
  FileDescriptor fd = OpenRegularNative(ToUtf8(path), O_RDONLY, info);
  if (!fd.valid()) {
    const int error = errno;
    // A dangling link counts as a file not written yet: the first write creates what it names.
    if (error == ENOENT) {
      content.state = SharedFileState::kMissing;
    } else {
      content.state = error == EINVAL ? SharedFileState::kNotAFile : SharedFileState::kUnreadable;
    }
    return content;
  }
  content.readOnly = IsReadOnly(info);
  if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
    content.state = SharedFileState::kTooLarge;
    return content;
  }
  errno = 0;  // a read error sets it; a file that grew past the bound does not
  std::optional<std::string> bytes = ReadAll(fd.get(), maxBytes);
  if (!bytes) {
    content.state = errno == 0 ? SharedFileState::kTooLarge : SharedFileState::kUnreadable;
    return content;
  }
  content.state = SharedFileState::kRead;
  content.bytes = std::move(*bytes);
  return content;
}

bool UpdateSharedFile(std::u16string_view path,
                      const std::function<std::optional<std::string>(std::string_view current)>& change,
                      std::size_t maxBytes) {
  if (!MakeFolders(FolderOfPath(path))) return false;
  const FolderLock lock(ToUtf8(FolderOfPath(path)));
  if (!lock.locked()) return false;
  const std::string file = FileBehind(ToUtf8(path));
  if (file.empty()) return false;
  const SharedFileContent current = ReadSharedFileChecked(FromUtf8(file), maxBytes);
  if (current.state != SharedFileState::kRead && current.state != SharedFileState::kMissing) return false;
  if (current.readOnly) return false;
  const std::optional<std::string> next = change(current.bytes);
  if (!next) return false;
  // Beside the file itself, which may lie in another folder than the link to it.
  const std::string temporary = file + ".new";
  if (!WriteNewFile(temporary, *next)) {
    unlink(temporary.c_str());
    return false;
  }
  if (rename(temporary.c_str(), file.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool SetSharedFileAside(std::u16string_view path, std::u16string_view asidePath) {
  const FolderLock lock(ToUtf8(FolderOfPath(path)));
  const std::string file = FileBehind(ToUtf8(path));
  return lock.locked() && !file.empty() && rename(file.c_str(), ToUtf8(asidePath).c_str()) == 0;
}

bool RemoveSharedFile(std::u16string_view path) {
  return unlink(ToUtf8(path).c_str()) == 0 || errno == ENOENT;
}

void KeepToOwner(std::u16string_view path) { chmod(ToUtf8(path).c_str(), 0600); }

}  // namespace nomvarix
