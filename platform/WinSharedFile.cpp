#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>

#include "platform/MakeFolders.h"
#include "platform/Path.h"
#include "platform/SharedFile.h"
#include "platform/WinHandle.h"

namespace nomvarix {
namespace {

std::wstring Native(std::u16string_view path) { return std::wstring(path.begin(), path.end()); }

bool WriteNewFile(const std::wstring& temporary, std::string_view bytes) {
  Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  return WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) != 0;
}

/// Holds the lock on a folder's shared files for as long as it lives: a named mutex of the
/// session, so that no lock file is left beside the settings. The system releases a mutex whose
/// owner ended, however it ended.
class FolderLock {
 public:
  explicit FolderLock(std::u16string_view folder) : mutex_(CreateMutexW(nullptr, FALSE, NameOf(folder).c_str())) {
    if (!mutex_.valid()) return;
    const DWORD waited = WaitForSingleObject(mutex_.get(), INFINITE);
    locked_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock() {
    if (locked_) ReleaseMutex(mutex_.get());
  }
  bool locked() const { return locked_; }

 private:
  /// Names may not hold a backslash after the namespace: the folder is named by a hash of its
  /// path, folded as the file system folds names.
  static std::wstring NameOf(std::u16string_view folder) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char16_t unit : folder) {
      hash = (hash ^ static_cast<std::uint64_t>(std::towlower(static_cast<wchar_t>(unit)))) * 1099511628211ull;
    }
    std::wstring name = L"Local\\Nomvarix.SharedFiles.";
    for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789abcdef"[(hash >> shift) & 0xF];
    return name;
  }

  Handle mutex_;
  bool locked_ = false;
};

}  // namespace

SharedFileContent ReadSharedFileChecked(std::u16string_view path, std::size_t maxBytes) {
  SharedFileContent content;
  Handle file(CreateFileW(Native(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    content.state = missing ? SharedFileState::kMissing : SharedFileState::kUnreadable;
    return content;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  LARGE_INTEGER size{};
  if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !GetFileSizeEx(file.get(), &size)) {
    content.state = SharedFileState::kNotAFile;
    return content;
  }
  content.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    content.state = SharedFileState::kTooLarge;
    return content;
  }
  std::optional<std::string> bytes = ReadAll(file.get(), maxBytes);
  content.state = bytes ? SharedFileState::kRead : SharedFileState::kUnreadable;
  if (bytes) content.bytes = std::move(*bytes);
  return content;
}

bool UpdateSharedFile(std::u16string_view path,
                      const std::function<std::optional<std::string>(std::string_view current)>& change,
                      std::size_t maxBytes) {
  if (!MakeFolders(FolderOfPath(path))) return false;
  const FolderLock lock(FolderOfPath(path));
  if (!lock.locked()) return false;
  const SharedFileContent current = ReadSharedFileChecked(path, maxBytes);
  if (current.state != SharedFileState::kRead && current.state != SharedFileState::kMissing) return false;
  if (current.readOnly) return false;
  const std::optional<std::string> next = change(current.bytes);
  if (!next) return false;
  const std::wstring file = Native(path);
  const std::wstring temporary = file + L".new";
  const bool replaced = WriteNewFile(temporary, *next) &&
                        MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!replaced) DeleteFileW(temporary.c_str());
  return replaced;
}

bool SetSharedFileAside(std::u16string_view path, std::u16string_view asidePath) {
  const FolderLock lock(FolderOfPath(path));
  return lock.locked() &&
         MoveFileExW(Native(path).c_str(), Native(asidePath).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool RemoveSharedFile(std::u16string_view path) {
  if (DeleteFileW(Native(path).c_str())) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void KeepToOwner(std::u16string_view) {}

}  // namespace nomvarix
