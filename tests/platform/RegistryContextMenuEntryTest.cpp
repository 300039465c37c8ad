// The Explorer entry in the current user's registry classes (run under Wine here).
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/ContextMenuEntry.h"

namespace nomvarix {
namespace {

std::wstring ReadDefault(const wchar_t* key) {
  wchar_t value[512] = {};
  DWORD bytes = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, key, nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) return {};
  return value;
}

TEST(RegistryContextMenuEntryTest, AddsBothKeysAndRemovesThem) {
  const auto entry = MakeNativeContextMenuEntry();
  entry->Remove();
  ASSERT_FALSE(entry->IsInstalledForUser());
  ASSERT_EQ(entry->Install(u"C:\\Program Files\\Nomvarix\\nomvarix.exe"), ContextMenuEntry::InstallResult::kAdded);
  EXPECT_TRUE(entry->IsInstalledForUser());
  EXPECT_EQ(ReadDefault(L"Software\\Classes\\Directory\\shell\\Nomvarix"), L"Open Folder in Nomvarix");
  EXPECT_EQ(ReadDefault(L"Software\\Classes\\*\\shell\\Nomvarix\\command"),
            L"\"C:\\Program Files\\Nomvarix\\nomvarix.exe\" \"%1\"");
  entry->Remove();
  EXPECT_FALSE(entry->IsInstalledForUser());
  EXPECT_EQ(ReadDefault(L"Software\\Classes\\*\\shell\\Nomvarix\\command"), L"");
}

}  // namespace
}  // namespace nomvarix
