#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/LockedFile.h"
#include "platform/MakeFolders.h"
#include "platform/Path.h"
#include "platform/WinHandle.h"

namespace nomvarix {
namespace {

std::wstring Native(std::u16string_view path) { return std::wstring(path.begin(), path.end()); }

/// The file opened for writing and deleting with reading alone shared: while it is open, no other
/// program can open it the same way, which is what tells a held file from one left behind.
Handle OpenHeld(std::u16string_view path, DWORD disposition) {
  return Handle(CreateFileW(Native(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                            disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool RenameOpenFile(HANDLE file, std::u16string_view to) {
  std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + (to.size() + 1) * sizeof(wchar_t));
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = FALSE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(to.size() * sizeof(wchar_t));
  std::copy(to.begin(), to.end(), info->FileName);
  info->FileName[to.size()] = L'\0';
  return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != 0;
}

/// Why a file could not be written in `folder` (ending with a separator), `error` being the last
/// error of the call that failed.
std::u16string WhyNotWritable(std::u16string_view folder, DWORD error) {
  const std::u16string shown(folder.substr(0, folder.size() - 1));
  const DWORD attributes = GetFileAttributesW(Native(shown).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return shown + u" is a file, not a folder";
  }
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return u"the disk holding " + shown + u" is full";
    case ERROR_WRITE_PROTECT: return shown + u" is on a read-only disk";
    case ERROR_ACCESS_DENIED: return shown + u" may not be written to";
    default: {
      const std::wstring code = std::to_wstring(error);
      return shown + u" cannot be written to (error " + std::u16string(code.begin(), code.end()) + u")";
    }
  }
}

class WinLockedFile final : public LockedFile {
 public:
  WinLockedFile(HANDLE file, std::string content) : file_(file), content_(std::move(content)) {}

  const std::string& Content() const override { return content_; }

  bool Remove() override {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(file_.get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
  }

 private:
  Handle file_;
  std::string content_;
};

}  // namespace

bool MakeFolders(std::u16string_view folder) {
  const std::wstring native = Native(folder);
  if (CreateDirectoryW(native.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
  if (GetLastError() != ERROR_PATH_NOT_FOUND) return false;
  const std::u16string parent = FolderOfPath(folder.substr(0, folder.size() - 1));
  if (parent.empty() || parent.size() >= folder.size() || !MakeFolders(parent)) return false;
  return CreateDirectoryW(native.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::unique_ptr<LockedFile> CreateLockedFile(std::u16string_view path, std::string_view bytes) {
  std::u16string why;
  return CreateLockedFile(path, bytes, why);
}

std::unique_ptr<LockedFile> CreateLockedFile(std::u16string_view path, std::string_view bytes, std::u16string& why) {
  const std::u16string folder = FolderOfPath(path);
  if (!MakeFolders(folder)) {
    why = WhyNotWritable(folder, GetLastError());
    return nullptr;
  }
  const std::u16string partial = std::u16string(path) + u".partial";
  Handle file = OpenHeld(partial, CREATE_NEW);
  if (!file.valid()) {
    why = WhyNotWritable(folder, GetLastError());
    return nullptr;
  }
  if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get()) || !RenameOpenFile(file.get(), path)) {
    why = WhyNotWritable(folder, GetLastError());
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition);
    return nullptr;
  }
  return std::make_unique<WinLockedFile>(file.release(), std::string(bytes));
}

std::unique_ptr<LockedFile> TakeOverLockedFile(std::u16string_view path, std::size_t maxBytes) {
  Handle file = OpenHeld(path, OPEN_EXISTING);
  LARGE_INTEGER size{};
  // Only a file on a disk: a pipe or a device in its place is never read.
  if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size) ||
      static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    return nullptr;
  }
  std::optional<std::string> content = ReadAll(file.get(), maxBytes);
  if (!content) return nullptr;
  return std::make_unique<WinLockedFile>(file.release(), std::move(*content));
}

}  // namespace nomvarix
