// The file-manager entry written into a private data folder, checked by the desktop's validator.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/ContextMenuEntry.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

TEST(DesktopContextMenuEntryTest, InstallsAValidEntryAndRemovingLeavesNothing) {
  test::TempFolder data;
  setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
  const auto entry = MakeNativeContextMenuEntry();
  EXPECT_FALSE(entry->IsInstalledForUser());

  ASSERT_TRUE(entry->Install(u"/opt/Nomvarix 1.0/bin/nomvarix"));
  EXPECT_TRUE(entry->IsInstalledForUser());
  EXPECT_TRUE(entry->IsShown());
  const std::string file = data.Path() + "applications/nomvarix-open-folder.desktop";
  const std::string text = data.ReadFile("applications/nomvarix-open-folder.desktop");
  EXPECT_NE(text.find("Name=Open Folder in Nomvarix\n"), std::string::npos);
  EXPECT_NE(text.find("Exec=\"/opt/Nomvarix 1.0/bin/nomvarix\" %f\n"), std::string::npos);
  EXPECT_NE(text.find("inode/directory"), std::string::npos);
  EXPECT_EQ(std::system(("desktop-file-validate '" + file + "'").c_str()), 0);

  entry->Remove();
  EXPECT_FALSE(entry->IsInstalledForUser());
  EXPECT_TRUE(std::filesystem::is_empty(data.Path() + "applications"));
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace nomvarix
