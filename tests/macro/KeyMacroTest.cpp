#include "macro/KeyMacro.h"

#include <gtest/gtest.h>

#include "editor/VirtualKey.h"

namespace nomvarix {
namespace {

using Events = std::vector<KeyEvent>;

TEST(KeyMacroTest, APressAndItsReleaseShareTheirCodeAndThePressKeepsItsCharacter) {
  KeyMacro macro;
  macro.RecordPress({.physicalKey = 38, .virtualKey = 'A'});
  EXPECT_TRUE(macro.Events().empty());  // not recording

  macro.StartRecording();
  macro.RecordPress({.physicalKey = 50, .virtualKey = vk::kShift});
  macro.RecordPress({.physicalKey = 18, .virtualKey = '9'});
  macro.RecordCharacter(18, u'(');
  macro.RecordRelease({.physicalKey = 50, .virtualKey = vk::kShift});
  // Released without Shift, the key's code could read otherwise: the press's code holds.
  macro.RecordRelease({.physicalKey = 18, .virtualKey = 0});
  // A German keyboard's key for "ä", held: its repeats are one press with the first character.
  for (int i = 0; i < 3; ++i) {
    macro.RecordPress({.physicalKey = 48, .virtualKey = vk::kOem7});
    macro.RecordCharacter(48, i == 0 ? u'\u00E4' : u'x');
  }
  macro.RecordCharacter(47, u';');  // another key's character belongs to no recorded press
  macro.RecordRelease({.physicalKey = 48, .virtualKey = vk::kOem7});
  EXPECT_EQ(macro.Events(), (Events{{vk::kShift, true},
                                    {'9', true, u'('},
                                    {vk::kShift, false},
                                    {'9', false},
                                    {vk::kOem7, true, u'\u00E4'},
                                    {vk::kOem7, false}}));

  // System keys and keys without a code are not recorded.
  macro.StartRecording();
  macro.RecordPress({.physicalKey = 64, .virtualKey = vk::kMenu});
  macro.RecordPress({.physicalKey = 41, .virtualKey = 'F', .altDown = true});
  macro.RecordPress({.physicalKey = 21, .virtualKey = 0});  // a dead accent key
  macro.RecordCharacter(21, u'\u00B4');
  macro.RecordRelease({.physicalKey = 41, .virtualKey = 'F', .altDown = true});
  macro.RecordRelease({.physicalKey = 21, .virtualKey = 0});
  EXPECT_TRUE(macro.Events().empty());
  // The accent and "e" type one character, which goes with the "e".
  macro.RecordPress({.physicalKey = 26, .virtualKey = 'E'});
  macro.RecordCharacter(26, u'\u00E9');
  EXPECT_EQ(macro.Events(), (Events{{'E', true, u'\u00E9'}}));
  macro.Replace({});
  macro.RecordRelease({.physicalKey = 26, .virtualKey = 'E'});
  EXPECT_TRUE(macro.Events().empty());  // a loaded macro is not recording
}

}  // namespace
}  // namespace nomvarix
