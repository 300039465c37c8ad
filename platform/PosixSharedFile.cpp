#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace

std::optional<std::string> ReadSharedFile(std::u16string_view path) {
  FileDescriptor fd(open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
  return ReadAll(fd.get());
}

bool UpdateSharedFile(std::u16string_view path,
                      const std::function<std::optional<std::string>(std::string_view current)>& change) {
  if (!MakeFolders(FolderOfPath(path))) return false;
  const std::string file = ToUtf8(path);
  FileDescriptor lock(open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!lock.valid()) return false;
  while (flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  const std::optional<std::string> current = ReadSharedFile(path);
  if (!current) return false;
  const std::optional<std::string> next = change(*current);
  if (!next) return false;
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

bool RemoveSharedFile(std::u16string_view path) {
  return unlink(ToUtf8(path).c_str()) == 0 || errno == ENOENT;
}

void KeepToOwner(std::u16string_view path) { chmod(ToUtf8(path).c_str(), 0600); }

}  // namespace nomvarix
