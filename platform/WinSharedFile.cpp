#include <windows.h>

#include <algorithm>

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

}  // namespace

std::optional<std::string> ReadSharedFile(std::u16string_view path) {
  Handle file(CreateFileW(Native(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::string();
    return std::nullopt;
  }
  return ReadAll(file.get());
}

bool UpdateSharedFile(std::u16string_view path,
                      const std::function<std::optional<std::string>(std::string_view current)>& change) {
  if (!MakeFolders(FolderOfPath(path))) return false;
  const std::wstring file = Native(path);
  Handle lock(CreateFileW((file + L".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!lock.valid()) return false;
  OVERLAPPED whole{};
  if (!LockFileEx(lock.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) return false;
  const auto unlock = [&] { UnlockFileEx(lock.get(), 0, MAXDWORD, MAXDWORD, &whole); };
  const std::optional<std::string> current = ReadSharedFile(path);
  const std::optional<std::string> next = current ? change(*current) : std::nullopt;
  const std::wstring temporary = file + L".new";
  const bool replaced = next && WriteNewFile(temporary, *next) &&
                        MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (next && !replaced) DeleteFileW(temporary.c_str());
  unlock();
  return replaced;
}

bool RemoveSharedFile(std::u16string_view path) {
  if (DeleteFileW(Native(path).c_str())) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void KeepToOwner(std::u16string_view) {}

}  // namespace nomvarix
