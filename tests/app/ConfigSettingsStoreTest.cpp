#include "app/ConfigSettingsStore.h"

#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/init.h>

#include "platform/SettingKeys.h"
#include "support/TempFolder.h"

namespace nomvarix {
namespace {

/// The store asks the toolkit for its standard folders, which needs an initialised library (the
/// program has one); no display is needed.
class ToolkitEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { initializer_ = std::make_unique<wxInitializer>(); }
  void TearDown() override { initializer_.reset(); }

 private:
  std::unique_ptr<wxInitializer> initializer_;
};
[[maybe_unused]] const auto* const kToolkit = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

class ConfigSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv(kSettingsFileVariable, (temp.Path() + "conf/settings.ini").c_str(), 1); }
  void TearDown() override { unsetenv(kSettingsFileVariable); }

  test::TempFolder temp;
};

TEST_F(ConfigSettingsStoreTest, WritesAtOnceToTheFileTheVariableNames) {
  {
    auto store = ConfigSettingsStore::OpenUserSettings();
    store->WriteFlag(settings::kSortByExtension, false);
    store->WriteString(settings::kLastPath, u"/home/me/Photos & $HOME/");
    store->WriteString(u"File1", u"/a/", settings::kRecentSection);
    store->WriteInteger(settings::kFontSize, 0xFFFFFFFFu);
    // Written before the store is closed.
    const std::string text = temp.ReadFile("conf/settings.ini");
    EXPECT_NE(text.find("[Settings]"), std::string::npos);
    EXPECT_NE(text.find("SortByExtension=0"), std::string::npos);
    EXPECT_NE(text.find("File1=/a/"), std::string::npos);
  }
  auto store = ConfigSettingsStore::OpenUserSettings();
  EXPECT_FALSE(store->ReadFlag(settings::kSortByExtension, true));
  EXPECT_EQ(store->ReadString(settings::kLastPath, u""), u"/home/me/Photos & $HOME/");
  EXPECT_EQ(store->ReadString(u"File1", u"", settings::kRecentSection), u"/a/");
  EXPECT_EQ(store->ReadInteger(settings::kFontSize, 23), 0xFFFFFFFFu);
  EXPECT_EQ(store->ReadInteger(settings::kGroupSize, settings::kGroupSizeDefault), 10u);
}

TEST_F(ConfigSettingsStoreTest, ValuesThatAreNoIntegersReadAsTheDefault) {
  temp.AddFile("conf/settings.ini",
               "[Settings]\nSortByExtension=7\nFontSize=large\nCheckConflict=99999999999\nVerify=-1\n");
  auto store = ConfigSettingsStore::OpenUserSettings();
  EXPECT_TRUE(store->ReadFlag(settings::kSortByExtension, false));
  EXPECT_EQ(store->ReadInteger(settings::kFontSize, 23), 23u);
  EXPECT_EQ(store->ReadInteger(settings::kCheckConflict, 1), 1u);
  EXPECT_EQ(store->ReadInteger(settings::kVerify, 1), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace nomvarix
