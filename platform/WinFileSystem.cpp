#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/StateFolder.h"
#include "platform/WinHandle.h"

namespace nomvarix {
namespace {

std::wstring Native(std::u16string_view path) { return std::wstring(path.begin(), path.end()); }

std::u16string FromNative(const wchar_t* text) {
  const std::wstring_view view(text);
  return std::u16string(view.begin(), view.end());
}

Handle OpenForReading(std::u16string_view path, DWORD access, DWORD flags) {
  return Handle(CreateFileW(Native(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, flags, nullptr));
}

/// Up to `count` bytes from `offset`; empty on a read error.
std::optional<std::string> ReadUpTo(HANDLE file, std::uint64_t offset, std::size_t count) {
  std::string data(count, '\0');
  std::size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset + done);
    at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
    DWORD read = 0;
    if (!ReadFile(file, data.data() + done, chunk, &read, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return std::nullopt;
    }
    if (read == 0) break;
    done += read;
  }
  data.resize(done);
  return data;
}

std::int64_t NanosecondsSince1970(const FILETIME& time) {
  // FILETIME counts 100 ns steps since 1601-01-01 UTC.
  constexpr std::int64_t kFrom1601To1970 = 116444736000000000LL;
  return ((static_cast<std::int64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) - kFrom1601To1970) * 100;
}

class WinReadableFile final : public ReadableFile {
 public:
  WinReadableFile(HANDLE handle, std::uint64_t size) : file_(handle), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  std::optional<std::string> ReadAt(std::uint64_t offset, std::size_t count) const override {
    return ReadUpTo(file_.get(), offset, count);
  }

 private:
  Handle file_;
  std::uint64_t size_;
};

/// Only a file on a disk: a pipe, a console or another device is refused, as is a folder, which
/// CreateFileW opens only when asked for backup semantics.
std::unique_ptr<ReadableFile> OpenRegular(std::u16string_view path) {
  Handle file = OpenForReading(path, GENERIC_READ, FILE_ATTRIBUTE_NORMAL);
  LARGE_INTEGER size{};
  if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size)) return nullptr;
  return std::make_unique<WinReadableFile>(file.release(), static_cast<std::uint64_t>(size.QuadPart));
}

class WinFileSystem final : public FileSystem {
 public:
  bool ForEachEntry(std::u16string_view folder,
                    const std::function<void(const DirEntry&)>& visit) const override {
    // Listed through the folder's handle, each entry comes with its file index; the volume is the
    // folder's. The first file is looked up to see that the index listed is the one the file
    // tells (a file system may list other numbers); where it is not, the listing tells no identity.
    Handle dir = OpenForReading(folder, FILE_LIST_DIRECTORY, FILE_FLAG_BACKUP_SEMANTICS);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!dir.valid() || !GetFileInformationByHandle(dir.get(), &info)) return false;
    std::vector<std::uint64_t> buffer(64 * 1024 / sizeof(std::uint64_t));  // aligned for the records
    const auto bufferBytes = static_cast<DWORD>(buffer.size() * sizeof(buffer[0]));
    FILE_INFO_BY_HANDLE_CLASS request = FileIdBothDirectoryRestartInfo;
    bool listed = false;
    bool checked = false;
    bool trusted = false;
    std::u16string name;
    while (GetFileInformationByHandleEx(dir.get(), request, buffer.data(), bufferBytes)) {
      request = FileIdBothDirectoryInfo;
      listed = true;
      const auto* records = reinterpret_cast<const unsigned char*>(buffer.data());
      for (DWORD at = 0;;) {
        const auto& record = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(records + at);
        name.assign(record.FileName, record.FileName + record.FileNameLength / sizeof(WCHAR));
        const bool isFolder = (record.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const FileIdentity identity{info.dwVolumeSerialNumber, static_cast<std::uint64_t>(record.FileId.QuadPart)};
        if (!checked && !isFolder) {
          checked = true;
          trusted = IdentityOf(JoinPath(folder, name)) == identity;
        }
        visit(DirEntry{name, isFolder, (record.FileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                       trusted ? identity : FileIdentity{}});
        if (record.NextEntryOffset == 0) break;
        at += record.NextEntryOffset;
      }
    }
    return listed || GetLastError() == ERROR_NO_MORE_FILES;
  }

  bool MayHaveSubfolder(std::u16string_view folder) const override {
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileW(Native(JoinPath(folder, u"*.*")).c_str(), &data));
    if (!find.valid()) return false;
    std::size_t read = 0;
    do {
      if (++read > kSubfolderLookLimit) return true;
      const std::wstring_view name = data.cFileName;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") return true;
    } while (FindNextFileW(find.get(), &data));
    return false;
  }

  std::vector<std::u16string> FolderRoots() const override {
    std::vector<std::u16string> roots;
    wchar_t drives[512] = {};
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(drives)) - 1, drives);
    if (length == 0 || length >= std::size(drives)) return roots;
    for (const wchar_t* root = drives; *root; root += wcslen(root) + 1) {
      const UINT type = GetDriveTypeW(root);
      ULARGE_INTEGER free{};
      // Drives without a medium fail the free-space query; network, optical and RAM drives are left out.
      if ((type == DRIVE_REMOVABLE || type == DRIVE_FIXED) && GetDiskFreeSpaceExW(root, &free, nullptr, nullptr)) {
        roots.push_back(FromNative(root));
      }
    }
    return roots;
  }

  PathKind KindOf(std::u16string_view path) const override {
    const DWORD attributes = GetFileAttributesW(Native(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
  }

  // The attribute query does not follow a symbolic link: it answers for the link itself.
  bool EntryExists(std::u16string_view path) const override {
    return GetFileAttributesW(Native(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::size_t NameLength(std::u16string_view name) const override { return name.size(); }

  bool IsSameFile(std::u16string_view a, std::u16string_view b) const override {
    const std::optional<FileIdentity> first = IdentityOf(a);
    return first && first == IdentityOf(b);
  }

  std::optional<FileIdentity> IdentityOf(std::u16string_view path) const override {
    const std::optional<FileStamp> stamp = StampOf(path);
    if (!stamp) return std::nullopt;
    return stamp->identity;
  }

  std::optional<FileStamp> StampOf(std::u16string_view path) const override {
    Handle file = OpenForReading(path, FILE_READ_ATTRIBUTES, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    FileStamp stamp;
    stamp.identity = {info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    stamp.attributes.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.attributes.modified = NanosecondsSince1970(info.ftLastWriteTime);
    stamp.attributes.created = NanosecondsSince1970(info.ftCreationTime);
    return stamp;
  }

  IdentityPermanence IdentityPermanenceOf(std::u16string_view folder) const override {
    // The FAT family gives file indexes by position, which a remount or a defragmenter changes.
    wchar_t volume[MAX_PATH + 1] = {};
    wchar_t fileSystemName[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(Native(folder).c_str(), volume, MAX_PATH) ||
        !GetVolumeInformationW(volume, nullptr, 0, nullptr, nullptr, nullptr, fileSystemName, MAX_PATH)) {
      return IdentityPermanence::PerMount;
    }
    const std::wstring_view name(fileSystemName);
    return name == L"NTFS" || name == L"ReFS" ? IdentityPermanence::Lasting : IdentityPermanence::PerMount;
  }

  bool IsListableFile(std::u16string_view path) const override {
    const DWORD attributes = GetFileAttributesW(Native(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
  }

  RenameResult RenameNoReplace(std::u16string_view from, std::u16string_view to) override {
    // MoveFileW never replaces an existing file.
    if (MoveFileW(Native(from).c_str(), Native(to).c_str())) return RenameResult::Renamed;
    const DWORD error = GetLastError();
    return (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) ? RenameResult::TargetExists
                                                                          : RenameResult::Failed;
  }

  std::optional<FileClock::time_point> CreationTime(std::u16string_view path) const override {
    Handle file = OpenForReading(path, FILE_READ_ATTRIBUTES, FILE_FLAG_BACKUP_SEMANTICS);
    FILETIME created{};
    if (!file.valid() || !GetFileTime(file.get(), &created, nullptr, nullptr)) return std::nullopt;
    const auto sinceEpoch = std::chrono::nanoseconds(NanosecondsSince1970(created));
    return FileClock::time_point(std::chrono::duration_cast<FileClock::duration>(sinceEpoch));
  }

  std::unique_ptr<ReadableFile> OpenRegularFile(std::u16string_view path) const override {
    return OpenRegular(path);
  }

  std::optional<std::string> ReadWholeFile(std::u16string_view path,
                                           std::size_t maxBytes) const override {
    const std::unique_ptr<ReadableFile> file = OpenRegularFile(path);
    if (!file || file->Size() > maxBytes) return std::nullopt;
    return ReadToEnd(*file, maxBytes);
  }

  bool CreateFolder(std::u16string_view path) override {
    return CreateDirectoryW(Native(path).c_str(), nullptr) || KindOf(path) == PathKind::Folder;
  }

  bool WriteWholeFile(std::u16string_view path, std::string_view bytes) override {
    Handle file(CreateFileW(Native(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    return WriteAll(file.get(), bytes);
  }

  std::u16string DocumentsFolder() const override {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    return WithTrailingSeparator(FromNative(buffer));
  }

  std::u16string ProgramFolder() const override {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
      const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
      if (n == 0) return {};
      if (n < buffer.size()) return FolderOfPath(FromNative(buffer.data()));
      buffer.resize(buffer.size() * 2);
    }
  }

  std::u16string AbsolutePath(std::u16string_view path) const override {
    const std::wstring native = Native(path);
    const DWORD needed = GetFullPathNameW(native.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::u16string(path);
    std::vector<wchar_t> buffer(needed);
    if (GetFullPathNameW(native.c_str(), needed, buffer.data(), nullptr) == 0) return std::u16string(path);
    return FromNative(buffer.data());
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() { return std::make_unique<WinFileSystem>(); }

std::u16string StateFolder() {
  if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local) {
    return WithTrailingSeparator(JoinPath(FromNative(local), u"Nomvarix"));
  }
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
  return WithTrailingSeparator(JoinPath(FromNative(buffer), u"Nomvarix"));
}

}  // namespace nomvarix
