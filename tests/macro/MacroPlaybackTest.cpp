#include "macro/MacroPlayback.h"

#include <gtest/gtest.h>

#include "editor/VirtualKey.h"

namespace nomvarix {
namespace {

using Events = std::vector<KeyEvent>;

Events PlayAll(MacroPlayback& playback, std::size_t stopAfter = SIZE_MAX) {
  Events played;
  while (const auto key = playback.Next()) {
    played.push_back(*key);
    if (played.size() == stopAfter) playback.Stop();
  }
  return played;
}

const Events kReleases{{vk::kShift, false}, {vk::kControl, false}, {vk::kMenu, false}};

TEST(MacroPlaybackTest, PlaysEveryEventOrStopsAtTheNextOneAndAlwaysReleasesTheModifiers) {
  const Events macro{{vk::kShift, true}, {'A', true, u'A'}, {'A', false}, {vk::kControl, true}, {'Q', true}, {'Q', false}};
  struct Case {
    const char* name;
    std::size_t stopAfter;
    Events expected;
  };
  const auto macroThen = [&](std::size_t count) {
    Events events(macro.begin(), macro.begin() + static_cast<std::ptrdiff_t>(count));
    events.insert(events.end(), kReleases.begin(), kReleases.end());
    return events;
  };
  const Case cases[] = {
      {"played whole", SIZE_MAX, macroThen(macro.size())},
      {"stopped after the first key", 1, macroThen(1)},
      {"stopped by its Ctrl+Q", 5, macroThen(5)},
      {"stopped during the releases", macro.size() + 1, macroThen(macro.size())},
  };
  for (const Case& c : cases) {
    MacroPlayback playback(macro);
    EXPECT_FALSE(playback.Ended()) << c.name;
    EXPECT_EQ(PlayAll(playback, c.stopAfter), c.expected) << c.name;
    EXPECT_TRUE(playback.Ended()) << c.name;
    EXPECT_FALSE(playback.Next()) << c.name;
  }

  MacroPlayback empty({});
  EXPECT_EQ(PlayAll(empty), kReleases);
  MacroPlayback stoppedFirst(macro);
  stoppedFirst.Stop();
  EXPECT_EQ(PlayAll(stoppedFirst), kReleases) << "a stop before the first key plays none of the macro";
}

TEST(MacroPlaybackTest, ALongMacroCountsItsProgressAndAShortOneShowsNone) {
  MacroPlayback shortMacro(Events(MacroPlayback::kProgressEvents - 1, {'A', true}));
  shortMacro.Next();
  EXPECT_EQ(shortMacro.ProgressText(), u"");

  MacroPlayback longMacro(Events(1'000'000, {vk::kRight, true}));
  EXPECT_EQ(longMacro.ProgressText(), u"Playing the macro: 0 of 1000000 keys (Esc stops)");
  for (int i = 0; i < 1234; ++i) longMacro.Next();
  EXPECT_EQ(longMacro.Played(), 1234u);
  EXPECT_EQ(longMacro.ProgressText(), u"Playing the macro: 1234 of 1000000 keys (Esc stops)");
  longMacro.Stop();
  EXPECT_EQ(PlayAll(longMacro), kReleases);
  EXPECT_EQ(longMacro.Played(), 1234u);
}

TEST(MacroPlaybackTest, OnlyAnEscapeTheUserPressedIsTakenForAStop) {
  MacroPlayback playback({{vk::kEscape, true}, {vk::kEscape, false}, {vk::kEscape, true}});
  // Keys delivered straight to the editor never come back as presses.
  EXPECT_FALSE(playback.TakeInjectedEscape());
  for (int i = 0; i < 3; ++i) playback.NoteInjected(*playback.Next());
  EXPECT_TRUE(playback.TakeInjectedEscape());
  EXPECT_TRUE(playback.TakeInjectedEscape());
  EXPECT_FALSE(playback.TakeInjectedEscape()) << "a third press is the user's";
}

}  // namespace
}  // namespace nomvarix
