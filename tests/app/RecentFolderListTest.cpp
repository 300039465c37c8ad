#include "app/rules/RecentFolderList.h"

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "platform/SettingKeys.h"

namespace nomvarix {
namespace {

using Folders = std::vector<std::u16string>;

std::u16string Folder(int i) {
  const std::string text = "/f" + std::to_string(i) + "/";
  return std::u16string(text.begin(), text.end());
}

TEST(RecentFolderList, NewestFirstWithoutRepeatsAndAtMostEight) {
  MemorySettingsStore settings;
  RecentFolderList recent(settings);
  for (int i = 1; i <= 9; ++i) recent.Add(Folder(i));
  ASSERT_EQ(recent.Folders().size(), 8u);
  EXPECT_EQ(recent.Folders().front(), Folder(9));
  EXPECT_EQ(recent.Folders().back(), Folder(2));
  recent.Add(Folder(5));
  EXPECT_EQ(recent.Folders()[0], Folder(5));
  EXPECT_EQ(recent.Folders()[5], Folder(4));
  EXPECT_EQ(recent.Folders().size(), 8u);
}

TEST(RecentFolderList, IsKeptInTheSettingsAsFileOneToEight) {
  MemorySettingsStore settings;
  {
    RecentFolderList recent(settings);
    recent.Add(u"/a/");
    recent.Add(u"/b/");
    recent.Add(u"/c/");
    recent.RemoveAt(1);
    recent.RemoveAt(10);
  }
  EXPECT_EQ(settings.ReadString(u"File1", u"", settings::kRecentSection), u"/c/");
  EXPECT_EQ(settings.ReadString(u"File2", u"", settings::kRecentSection), u"/a/");
  EXPECT_EQ(settings.ReadString(u"File3", u"?", settings::kRecentSection), u"");
  RecentFolderList reloaded(settings);
  EXPECT_EQ(reloaded.Folders(), (Folders{u"/c/", u"/a/"}));
}

TEST(RecentFolderList, ProgramsRunningSideBySideKeepEachOthersFolders) {
  MemorySettingsStore settings;
  RecentFolderList first(settings);
  RecentFolderList second(settings);
  first.Add(u"/x/");
  second.Add(u"/y/");
  first.Add(u"/z/");
  EXPECT_EQ(first.Folders(), (Folders{u"/z/", u"/y/", u"/x/"}));
  second.Add(u"/x/");
  EXPECT_EQ(second.Folders(), (Folders{u"/x/", u"/z/", u"/y/"}));
  // A folder that could not be opened goes by its name, wherever the other program moved it.
  first.RemoveAt(2);  // "/x/" in this program's older view
  EXPECT_EQ(first.Folders(), (Folders{u"/z/", u"/y/"}));
  EXPECT_EQ(RecentFolderList(settings).Folders(), (Folders{u"/z/", u"/y/"}));
}

}  // namespace
}  // namespace nomvarix
