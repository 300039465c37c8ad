#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/PosixDescriptor.h"
#include "platform/PosixFolderReader.h"
#include "platform/PosixRename.h"
#include "platform/StateFolder.h"
#include "platform/XdgFolder.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// What MayHaveSubfolder reads at a time: about as many entries as it looks at.
constexpr std::size_t kSubfolderBatchBytes = std::size_t{32} << 10;

std::string Native(std::u16string_view path) { return ToUtf8(path); }

/// Up to `count` bytes from `offset` of an open descriptor; empty on a read error.
std::optional<std::string> ReadUpTo(int fd, std::uint64_t offset, std::size_t count) {
  std::string data(count, '\0');
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = pread(fd, data.data() + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  data.resize(done);
  return data;
}

class PosixReadableFile final : public ReadableFile {
 public:
  PosixReadableFile(FileDescriptor&& fd, std::uint64_t size) : fd_(fd.release()), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  std::optional<std::string> ReadAt(std::uint64_t offset, std::size_t count) const override {
    return ReadUpTo(fd_.get(), offset, count);
  }

 private:
  FileDescriptor fd_;
  std::uint64_t size_;
};

/// Opens only a regular file, never waiting on a pipe or touching a device.
std::unique_ptr<ReadableFile> OpenRegular(const std::string& path) {
  struct stat st {};
  FileDescriptor fd = OpenRegularNative(path, O_RDONLY, st);
  if (!fd.valid()) return nullptr;
  return std::make_unique<PosixReadableFile>(std::move(fd), static_cast<std::uint64_t>(st.st_size));
}

std::int64_t Nanoseconds(const statx_timestamp& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

/// Whether a file system of this type keeps a file's inode number for the file's whole life. The
/// FAT family makes numbers up from positions at each mount; network file systems may number per
/// mount (CIFS without server inode numbers), and FUSE file systems decide for themselves (exFAT
/// through FUSE among them).
bool HasLastingInodes(unsigned long type) {
  constexpr unsigned long kMsdos = 0x4d44;
  constexpr unsigned long kExfat = 0x2011bab0;
  constexpr unsigned long kCifs = 0xff534d42;
  constexpr unsigned long kSmb2 = 0xfe534d42;
  constexpr unsigned long kSmb = 0x517b;
  constexpr unsigned long kFuse = 0x65735546;
  for (const unsigned long perMount : {kMsdos, kExfat, kCifs, kSmb2, kSmb, kFuse}) {
    if (type == perMount) return false;
  }
  return true;
}

bool IsFolderEntry(int dirFd, const PosixFolderReader::Entry& entry) {
  if (entry.type == DT_DIR) return true;
  if (entry.type != DT_LNK && entry.type != DT_UNKNOWN) return false;
  struct stat st {};
  // A link counts as what it points to; a dangling link is a file.
  return fstatat(dirFd, entry.name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

/// The identities of a folder's entries as its listing tells them, without a call per file: the
/// folder's device and the inode number each entry is listed with. Some file systems list other
/// numbers than they tell of the files (some network and FUSE ones, an overlay of several): the
/// first file listed is looked up to see it, and then the listing tells no identity.
class ListedIdentities {
 public:
  explicit ListedIdentities(int dirFd) : dirFd_(dirFd) {
    struct stat st {};
    trusted_ = fstat(dirFd, &st) == 0;
    device_ = static_cast<std::uint64_t>(st.st_dev);
  }

  FileIdentity Of(const PosixFolderReader::Entry& entry) {
    if (!checked_ && entry.type != DT_DIR) {
      checked_ = true;
      struct stat st {};
      trusted_ = trusted_ && fstatat(dirFd_, entry.name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                 static_cast<std::uint64_t>(st.st_dev) == device_ && static_cast<std::uint64_t>(st.st_ino) == entry.inode;
    }
    if (!trusted_) return {};
    return {device_, entry.inode};
  }

 private:
  int dirFd_;
  std::uint64_t device_ = 0;
  bool trusted_ = false;
  bool checked_ = false;
};

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

/// XDG_DOCUMENTS_DIR from the user's user-dirs.dirs, with "$HOME" expanded; empty when not set.
std::string XdgDocumentsFolder(const std::string& home) {
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  const std::string config = (configHome && *configHome) ? configHome : home + "/.config";
  std::ifstream file(config + "/user-dirs.dirs");
  const std::string key = "XDG_DOCUMENTS_DIR=\"";
  for (std::string line; std::getline(file, line);) {
    if (line.rfind(key, 0) != 0) continue;
    std::string value = line.substr(key.size());
    if (const auto quote = value.find('"'); quote != std::string::npos) value.resize(quote);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    return value;
  }
  return {};
}

RenameResult RenameResultOf(int renamed) {
  if (renamed == 0) return RenameResult::Renamed;
  return errno == EEXIST ? RenameResult::TargetExists : RenameResult::Failed;
}

/// A folder held open: each call resolves the name alone, relative to the folder's descriptor,
/// instead of every component of a full path. Its name buffers are reused from call to call, so
/// it is for one thread at a time.
class PosixFolderFiles final : public FolderFiles {
 public:
  explicit PosixFolderFiles(FileDescriptor&& folder) : folder_(std::move(folder)) {}

  bool EntryExists(std::u16string_view name) const override {
    struct stat st {};
    return Lstat(name, st, first_);
  }

  bool IsSameFile(std::u16string_view a, std::u16string_view b) const override {
    struct stat first {};
    struct stat second {};
    if (!Lstat(a, first, first_) || !Lstat(b, second, second_)) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }

  bool IsListableFile(std::u16string_view name) const override { return IdentityOfListableFile(name).has_value(); }

  // One call for a regular file, the case of every apply's lines.
  std::optional<FileIdentity> IdentityOfListableFile(std::u16string_view name) const override {
    struct stat st {};
    if (!Lstat(name, st, first_)) return std::nullopt;
    const FileIdentity identity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    if (S_ISREG(st.st_mode)) return identity;
    if (!S_ISLNK(st.st_mode)) return std::nullopt;
    struct stat target {};
    // A dangling link is listed too.
    if (fstatat(folder_.get(), first_.c_str(), &target, 0) != 0 || S_ISREG(target.st_mode)) return identity;
    return std::nullopt;
  }

  RenameResult RenameNoReplace(std::u16string_view from, std::u16string_view to) override {
    return RenameResultOf(RenameNoReplaceAt(folder_.get(), Native(from, first_), folder_.get(), Native(to, second_)));
  }

 private:
  static const char* Native(std::u16string_view name, std::string& buffer) {
    buffer.clear();
    AppendUtf8(buffer, name);
    return buffer.c_str();
  }

  /// The status of the entry `name` (a link not followed), its native name left in `buffer`.
  bool Lstat(std::u16string_view name, struct stat& st, std::string& buffer) const {
    return fstatat(folder_.get(), Native(name, buffer), &st, AT_SYMLINK_NOFOLLOW) == 0;
  }

  FileDescriptor folder_;
  mutable std::string first_;
  mutable std::string second_;
};

class PosixFileSystem final : public FileSystem {
 public:
  bool ForEachEntry(std::u16string_view folder,
                    const std::function<void(const DirEntry&)>& visit) const override {
    PosixFolderReader reader(Native(folder));
    if (!reader.IsOpen()) return false;
    const int dirFd = reader.Descriptor();
    ListedIdentities identities(dirFd);
    std::u16string name;
    while (const PosixFolderReader::Entry* entry = reader.Next()) {
      name.clear();
      AppendFromUtf8(name, entry->name);
      visit(DirEntry{name, IsFolderEntry(dirFd, *entry), entry->name[0] == '.', identities.Of(*entry)});
    }
    // A listing that broke off is no listing: a part of a folder is never taken for all of it.
    return !reader.Failed();
  }

  bool MayHaveSubfolder(std::u16string_view folder) const override {
    // Small batches: only the first entries are looked at.
    PosixFolderReader reader(Native(folder), kSubfolderBatchBytes);
    if (!reader.IsOpen()) return false;
    const int dirFd = reader.Descriptor();
    std::size_t read = 0;
    while (const PosixFolderReader::Entry* entry = reader.Next()) {
      if (++read > kSubfolderLookLimit) return true;
      const std::string_view name = entry->name;
      // Hidden folders, "." and ".." included, are not listed in the tree.
      if (name.front() != '.' && IsFolderEntry(dirFd, *entry)) return true;
    }
    return false;
  }

  std::vector<std::u16string> FolderRoots() const override {
    std::vector<std::u16string> roots{u"/"};
    const std::string home = HomeFolder();
    if (home != "/") roots.push_back(FromUtf8(home) + u"/");
    // Removable media as desktops mount them.
    const char* user = std::getenv("USER");
    if (!user || !*user) return roots;
    for (const std::string& base : {std::string("/media/") + user, std::string("/run/media/") + user}) {
      ForEachEntry(FromUtf8(base), [&](const DirEntry& entry) {
        if (entry.isFolder && entry.name != u"." && entry.name != u"..") {
          roots.push_back(FromUtf8(base) + u"/" + std::u16string(entry.name) + u"/");
        }
      });
    }
    return roots;
  }

  PathKind KindOf(std::u16string_view path) const override {
    struct stat st {};
    if (stat(Native(path).c_str(), &st) != 0) return PathKind::Missing;
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
  }

  bool EntryExists(std::u16string_view path) const override {
    struct stat st {};
    return lstat(Native(path).c_str(), &st) == 0;
  }

  std::size_t NameLength(std::u16string_view name) const override { return Native(name).size(); }

  bool IsSameFile(std::u16string_view a, std::u16string_view b) const override {
    struct stat first {};
    struct stat second {};
    if (lstat(Native(a).c_str(), &first) != 0 || lstat(Native(b).c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }

  std::optional<FileIdentity> IdentityOf(std::u16string_view path) const override {
    struct stat st {};
    if (lstat(Native(path).c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  }

  std::optional<FileStamp> StampOf(std::u16string_view path) const override {
    struct statx stx {};
    if (statx(AT_FDCWD, Native(path).c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0) {
      return std::nullopt;
    }
    FileStamp stamp;
    stamp.identity = {makedev(stx.stx_dev_major, stx.stx_dev_minor), stx.stx_ino};
    if (stx.stx_mask & STATX_SIZE) stamp.attributes.size = stx.stx_size;
    if (stx.stx_mask & STATX_MTIME) stamp.attributes.modified = Nanoseconds(stx.stx_mtime);
    if (stx.stx_mask & STATX_BTIME) stamp.attributes.created = Nanoseconds(stx.stx_btime);
    return stamp;
  }

  IdentityPermanence IdentityPermanenceOf(std::u16string_view folder) const override {
    struct statfs info {};
    if (statfs(Native(folder).c_str(), &info) != 0) return IdentityPermanence::PerMount;
    return HasLastingInodes(static_cast<unsigned long>(info.f_type)) ? IdentityPermanence::Lasting
                                                                       : IdentityPermanence::PerMount;
  }

  bool IsListableFile(std::u16string_view path) const override {
    const std::string native = Native(path);
    struct stat st {};
    if (lstat(native.c_str(), &st) != 0) return false;
    if (!S_ISLNK(st.st_mode)) return S_ISREG(st.st_mode);
    return stat(native.c_str(), &st) != 0 || S_ISREG(st.st_mode);  // a dangling link is listed too
  }

  // One lstat for a regular file, the case of every apply's lines.
  std::optional<FileIdentity> IdentityOfListableFile(std::u16string_view path) const override {
    const std::string native = Native(path);
    struct stat st {};
    if (lstat(native.c_str(), &st) != 0) return std::nullopt;
    const FileIdentity identity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    if (S_ISREG(st.st_mode)) return identity;
    if (!S_ISLNK(st.st_mode)) return std::nullopt;
    struct stat target {};
    if (stat(native.c_str(), &target) != 0 || S_ISREG(target.st_mode)) return identity;  // a dangling link is listed too
    return std::nullopt;
  }

  RenameResult RenameNoReplace(std::u16string_view from, std::u16string_view to) override {
    return RenameResultOf(RenameNoReplaceNative(Native(from), Native(to)));
  }

  std::unique_ptr<FolderFiles> OpenFolder(std::u16string_view folder) override {
    FileDescriptor fd(open(Native(folder).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return FolderFilesByPath(*this, folder);
    return std::make_unique<PosixFolderFiles>(std::move(fd));
  }

  std::optional<FileClock::time_point> CreationTime(std::u16string_view path) const override {
    struct statx stx {};
    if (statx(AT_FDCWD, Native(path).c_str(), 0, STATX_BTIME, &stx) != 0) return std::nullopt;
    if (!(stx.stx_mask & STATX_BTIME)) return std::nullopt;
    const auto sinceEpoch = std::chrono::seconds(stx.stx_btime.tv_sec) +
                            std::chrono::nanoseconds(stx.stx_btime.tv_nsec);
    return FileClock::time_point(std::chrono::duration_cast<FileClock::duration>(sinceEpoch));
  }

  std::unique_ptr<ReadableFile> OpenRegularFile(std::u16string_view path) const override {
    return OpenRegular(Native(path));
  }

  std::optional<std::string> ReadWholeFile(std::u16string_view path,
                                           std::size_t maxBytes) const override {
    const std::unique_ptr<ReadableFile> file = OpenRegularFile(path);
    if (!file || file->Size() > maxBytes) return std::nullopt;
    return ReadToEnd(*file, maxBytes);
  }

  bool CreateFolder(std::u16string_view path) override {
    return mkdir(Native(path).c_str(), 0777) == 0 || KindOf(path) == PathKind::Folder;
  }

  bool WriteWholeFile(std::u16string_view path, std::string_view bytes) override {
    FileDescriptor fd(open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.valid()) return false;
    while (!bytes.empty()) {
      const ssize_t written = write(fd.get(), bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return close(fd.release()) == 0;
  }

  std::u16string DocumentsFolder() const override {
    const std::string home = HomeFolder();
    std::string documents = XdgDocumentsFolder(home);
    if (documents.empty()) documents = home + "/Documents";
    return WithTrailingSeparator(FromUtf8(documents));
  }

  std::u16string DataHomeFolder() const override {
    return WithTrailingSeparator(FromUtf8(XdgBaseFolder("XDG_DATA_HOME", ".local/share")));
  }

  std::u16string ProgramFolder() const override {
    std::vector<char> buffer(4096);
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return AbsolutePath(u".");
    return FolderOfPath(FromUtf8(std::string_view(buffer.data(), static_cast<std::size_t>(n))));
  }

  std::u16string AbsolutePath(std::u16string_view path) const override {
    std::u16string full;
    if (path.empty() || path.front() != u'/') {
      std::vector<char> cwd(4096);
      if (getcwd(cwd.data(), cwd.size())) full = WithTrailingSeparator(FromUtf8(cwd.data()));
    }
    full += path;
    return WithoutDotComponents(full);
  }

 private:
  /// Resolved by the components alone, as a shell's cd does: "a/b/.." is "a", also where b is a
  /// link to a folder elsewhere.
  static std::u16string WithoutDotComponents(std::u16string_view path) {
    std::u16string out;
    std::size_t i = 0;
    while (i < path.size()) {
      std::size_t end = path.find(u'/', i);
      if (end == std::u16string_view::npos) end = path.size();
      const std::u16string_view part = path.substr(i, end - i);
      if (part == u"..") {
        out.resize(out.empty() ? 0 : out.rfind(u'/'));
      } else if (!part.empty() && part != u".") {
        out += u'/';
        out += part;
      }
      i = end + 1;
    }
    const bool trailing = !path.empty() && (path.back() == u'/' || path.ends_with(u"/.") || path.ends_with(u"/.."));
    if (out.empty() || trailing) out += u'/';
    return out;
  }
};

}  // namespace

int RenameNoReplaceAt(int fromFolder, const char* from, int toFolder, const char* to) {
#ifdef RENAME_NOREPLACE
  if (renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
#endif
  if (linkat(fromFolder, from, toFolder, to, 0) != 0) return -1;
  if (unlinkat(fromFolder, from, 0) != 0) {
    const int saved = errno;
    unlinkat(toFolder, to, 0);
    errno = saved;
    return -1;
  }
  return 0;
}

int RenameNoReplaceNative(const std::string& from, const std::string& to) {
  return RenameNoReplaceAt(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str());
}

std::unique_ptr<FileSystem> MakeNativeFileSystem() { return std::make_unique<PosixFileSystem>(); }

std::string XdgBaseFolder(const char* variable, const char* underHome) {
  if (const char* folder = std::getenv(variable); folder && *folder == '/') return folder;
  return HomeFolder() + "/" + underHome;
}

std::u16string StateFolder() {
  return WithTrailingSeparator(FromUtf8(XdgBaseFolder("XDG_STATE_HOME", ".local/state") + "/Nomvarix"));
}

}  // namespace nomvarix
