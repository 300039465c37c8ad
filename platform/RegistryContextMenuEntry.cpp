// The Windows Explorer entry: the same keys under the current user's classes for folders
// (Directory\shell) and for all files (*\shell).
#include <windows.h>

#include <string>

#include "platform/ContextMenuEntry.h"

namespace nomvarix {
namespace {

constexpr std::u16string_view kAdded = u"Successfully added to Explorer context menu:\n'Open Folder in Nomvarix'";

// Windows has no entry that points at a program not installed: both "added" texts are one.
constexpr ContextMenuEntry::Texts kTexts{
    u"Add Nomvarix to Windows Explorer context menu?\n\nThis will allow you to right-click folders and files to open "
    u"them in Nomvarix.",
    kAdded,
    kAdded,
    u"Failed to modify Explorer integration.\n\nPlease try running the application as administrator.",
    u"Successfully removed from Explorer context menu.",
};

constexpr const wchar_t* kParents[] = {L"Software\\Classes\\Directory\\shell", L"Software\\Classes\\*\\shell"};

/// An open registry key, closed at the end of its scope.
class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* Out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool CanOpenForWriting(HKEY root, const wchar_t* path) {
  Key key;
  return RegOpenKeyExW(root, path, 0, KEY_READ | KEY_WRITE, key.Out()) == ERROR_SUCCESS;
}

bool SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

bool Create(HKEY parent, const wchar_t* path, Key& key) {
  return RegCreateKeyExW(parent, path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.Out(), nullptr) ==
         ERROR_SUCCESS;
}

class RegistryContextMenuEntry final : public ContextMenuEntry {
 public:
  bool IsShown() const override { return CanOpenForWriting(HKEY_CLASSES_ROOT, L"Directory\\shell\\Nomvarix"); }

  bool IsInstalledForUser() const override {
    return CanOpenForWriting(HKEY_CURRENT_USER, L"Software\\Classes\\Directory\\shell\\Nomvarix");
  }

  // The entry starts the running program wherever it lies, as Explorer entries do.
  InstallResult Install(std::u16string_view programPath) override {
    const std::wstring program(programPath.begin(), programPath.end());
    for (const wchar_t* parent : kParents) {
      Key entry;
      Key command;
      if (!Create(HKEY_CURRENT_USER, (std::wstring(parent) + L"\\Nomvarix").c_str(), entry)) {
        return InstallResult::kFailed;
      }
      SetString(entry.get(), nullptr, L"Open Folder in Nomvarix");
      SetString(entry.get(), L"Icon", program + L",0");
      if (!Create(entry.get(), L"command", command)) return InstallResult::kFailed;
      SetString(command.get(), nullptr, L"\"" + program + L"\" \"%1\"");
    }
    return InstallResult::kAdded;
  }

  void Remove() override {
    for (const wchar_t* parent : kParents) {
      Key key;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, parent, 0, KEY_READ | KEY_WRITE, key.Out()) == ERROR_SUCCESS) {
        RegDeleteTreeW(key.get(), L"Nomvarix");
      }
    }
  }

  const Texts& Messages() const override { return kTexts; }
};

}  // namespace

std::unique_ptr<ContextMenuEntry> MakeNativeContextMenuEntry() { return std::make_unique<RegistryContextMenuEntry>(); }

}  // namespace nomvarix
