#include "platform/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include "platform/SettingKeys.h"

namespace nomvarix {
namespace {

TEST(SettingsStore, MissingValuesAndValuesOfTheOtherKindReadAsTheDefault) {
  MemorySettingsStore store;
  EXPECT_EQ(store.ReadInteger(settings::kGroupSize, settings::kGroupSizeDefault), 10u);
  EXPECT_EQ(store.ReadString(settings::kLastPath, u""), u"");
  store.Put(kSettingsSection, settings::kFontSize, u"large");
  store.Put(kSettingsSection, settings::kLastPath, std::uint32_t{5});
  EXPECT_EQ(store.ReadInteger(settings::kFontSize, 23), 23u);
  EXPECT_EQ(store.ReadString(settings::kLastPath, u"/x/"), u"/x/");
}

TEST(SettingsStore, BooleansAreIntegersTrueWhenNotZero) {
  MemorySettingsStore store;
  EXPECT_TRUE(store.ReadFlag(settings::kSortByExtension, true));
  store.WriteInteger(settings::kSortByExtension, 7);
  EXPECT_TRUE(store.ReadFlag(settings::kSortByExtension, false));
  store.WriteFlag(settings::kSortByExtension, false);
  EXPECT_EQ(store.ReadInteger(settings::kSortByExtension, 9), 0u);
  store.WriteFlag(settings::kSortByExtension, true);
  EXPECT_EQ(store.ReadInteger(settings::kSortByExtension, 9), 1u);
}

TEST(SettingsStore, SectionsKeepTheirOwnValues) {
  MemorySettingsStore store;
  store.WriteString(u"File1", u"/a/", settings::kRecentSection);
  EXPECT_EQ(store.ReadString(u"File1", u"", settings::kRecentSection), u"/a/");
  EXPECT_EQ(store.ReadString(u"File1", u""), u"");
  EXPECT_TRUE(store.Contains(settings::kRecentSection, u"File1"));
}

TEST(SettingsStore, DefaultFontSizeScalesWithTheScreen) {
  EXPECT_EQ(settings::DefaultFontSize(96), 23u);
  EXPECT_EQ(settings::DefaultFontSize(144), 35u);  // 34.5 rounds up
  EXPECT_EQ(settings::DefaultFontSize(120), 29u);  // 28.75
  EXPECT_EQ(settings::DefaultFontSize(0), 23u);    // screen could not be asked
}

TEST(SettingsStore, AStoredFontSizeIsOneTheFontStepsCanReach) {
  EXPECT_EQ(settings::FontSizeOf(23, 23), 23);
  EXPECT_EQ(settings::FontSizeOf(7, 23), 7);
  EXPECT_EQ(settings::FontSizeOf(65, 23), 65);
  EXPECT_EQ(settings::FontSizeOf(0, 23), 7);
  EXPECT_EQ(settings::FontSizeOf(100000, 23), 65);
  EXPECT_EQ(settings::FontSizeOf(0xFFFFFFFFu, 23), 65);  // not -1
  // A screen of 288 dots per inch starts larger than a step can grow to.
  EXPECT_EQ(settings::FontSizeOf(settings::DefaultFontSize(288), settings::DefaultFontSize(288)), 69);
  EXPECT_EQ(settings::FontSizeOf(100000, settings::DefaultFontSize(288)), 69);
}

}  // namespace
}  // namespace nomvarix
