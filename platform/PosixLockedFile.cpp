#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/LockedFile.h"
#include "platform/MakeFolders.h"
#include "platform/Path.h"
#include "platform/PosixDescriptor.h"
#include "platform/PosixRename.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// Creates `folder` (without a closing separator) and the folders above it that are missing.
bool MakeNativeFolders(const std::string& folder) {
  if (folder.empty() || mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return true;
  if (errno != ENOENT) return false;
  const std::size_t slash = folder.find_last_of('/', folder.size() - 1);
  if (slash == std::string::npos || slash == 0) return false;
  return MakeNativeFolders(folder.substr(0, slash)) && (mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST);
}

/// Puts the folder's entries (a new or a removed name) on the disk.
bool SyncFolder(const std::string& folder) {
  FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.valid() && fsync(fd.get()) == 0;
}

/// Why a file could not be written in `folder` (ending with "/"), `error` being the errno of the
/// call that failed.
std::u16string WhyNotWritable(const std::string& folder, int error) {
  const std::string path = folder.substr(0, folder.size() - 1);
  const std::u16string shown = FromUtf8(path);
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && stat(path.c_str(), &st) != 0) {
    return shown + u" is a link to something that does not exist";
  }
  if (stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) return shown + u" is a file, not a folder";
  switch (error) {
    case ENOSPC:
    case EDQUOT: return u"the disk holding " + shown + u" is full";
    case EROFS: return shown + u" is on a read-only disk";
    case EACCES:
    case EPERM: return shown + u" may not be written to";
    default: return shown + u" cannot be written to (" + FromUtf8(std::strerror(error)) + u")";
  }
}

bool LockNow(int fd) {
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

class PosixLockedFile final : public LockedFile {
 public:
  PosixLockedFile(std::string path, int fd, std::string content)
      : path_(std::move(path)), fd_(fd), content_(std::move(content)) {}

  const std::string& Content() const override { return content_; }

  bool Remove() override {
    if (unlink(path_.c_str()) != 0) return false;
    SyncFolder(path_.substr(0, path_.rfind('/') + 1));
    return true;
  }

 private:
  std::string path_;
  FileDescriptor fd_;
  std::string content_;
};

}  // namespace

bool MakeFolders(std::u16string_view folder) {
  const std::string native = ToUtf8(folder);
  return MakeNativeFolders(native.substr(0, native.size() - 1));
}

std::unique_ptr<LockedFile> CreateLockedFile(std::u16string_view path, std::string_view bytes) {
  std::u16string why;
  return CreateLockedFile(path, bytes, why);
}

std::unique_ptr<LockedFile> CreateLockedFile(std::u16string_view path, std::string_view bytes, std::u16string& why) {
  const std::string file = ToUtf8(path);
  const std::u16string folderOfFile = FolderOfPath(path);
  const std::string folder = ToUtf8(folderOfFile);
  if (!MakeFolders(folderOfFile)) {
    why = WhyNotWritable(folder, errno);
    return nullptr;
  }
  // Written under another name and then renamed, with the lock taken first: a program looking for
  // files left behind never finds this one unlocked or half written.
  const std::string partial = file + ".partial";
  FileDescriptor fd(open(partial.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!fd.valid()) {
    why = WhyNotWritable(folder, errno);
    return nullptr;
  }
  const bool written = LockNow(fd.get()) && WriteAll(fd.get(), bytes) && fdatasync(fd.get()) == 0 &&
                       RenameNoReplaceNative(partial, file) == 0 && SyncFolder(folder);
  if (!written) {
    why = WhyNotWritable(folder, errno);
    unlink(partial.c_str());
    return nullptr;
  }
  return std::make_unique<PosixLockedFile>(file, fd.release(), std::string(bytes));
}

std::unique_ptr<LockedFile> TakeOverLockedFile(std::u16string_view path, std::size_t maxBytes) {
  const std::string file = ToUtf8(path);
  struct stat opened {};
  FileDescriptor fd = OpenRegularNative(file, O_RDWR, opened);
  if (!fd.valid() || !LockNow(fd.get())) return nullptr;
  // Another program may have taken it over and removed it between the open and the lock.
  struct stat named {};
  if (stat(file.c_str(), &named) != 0 || opened.st_ino != named.st_ino || opened.st_dev != named.st_dev ||
      static_cast<std::uint64_t>(opened.st_size) > maxBytes) {
    return nullptr;
  }
  std::optional<std::string> content = ReadAll(fd.get(), maxBytes);
  if (!content) return nullptr;
  return std::make_unique<PosixLockedFile>(file, fd.release(), std::move(*content));
}

}  // namespace nomvarix
