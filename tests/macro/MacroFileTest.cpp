#include "macro/MacroFile.h"

#include <memory>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "support/TempFolder.h"
#ifndef _WIN32
#include "support/WaitingFifo.h"
#endif
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Events = std::vector<KeyEvent>;

TEST(MacroFileTest, WrittenFormsAndTheirWayBack) {
  const Events shiftAEnter{{16, true}, {'A', true}, {'A', false}, {16, false}, {13, true}, {13, false}};
  const std::string text = FormatMacro(shiftAEnter);
  EXPECT_EQ(text, "VK_SHIFT,DOWN\r\nA,DOWN\r\nA,UP\r\nVK_SHIFT,UP\r\nVK_RETURN,DOWN\r\nVK_RETURN,UP\r\n");
  EXPECT_EQ(ParseMacro(text), shiftAEnter);
  EXPECT_EQ(FormatMacro({{112, true}, {97, false}, {'7', true}, {32, true}}), "VK_F1,DOWN\r\n97,UP\r\n7,DOWN\r\n32,DOWN\r\n");
  EXPECT_EQ(ParseMacro("VK_F1,DOWN\n97,UP"), (Events{{112, true}, {97, false}}));
  // A one-digit code is not the digit's key on the way back.
  EXPECT_EQ(FormatMacro({{6, true}}), "06,DOWN\r\n");
  EXPECT_EQ(ParseMacro(FormatMacro({{6, true}, {'6', true}})), (Events{{6, true}, {'6', true}}));
}

TEST(MacroFileTest, TypedCharactersGoOnLinesOfTheirOwn) {
  const Events events{{16, true}, {'9', true, u'('}, {'9', false}, {16, false}, {222, true, u'\u00E4'},
                      {222, false}, {32, true, u' '}, {188, true, u','}};
  const std::string text = FormatMacro(events);
  EXPECT_EQ(text,
            "VK_SHIFT,DOWN\r\n9,DOWN\r\nCHAR,(\r\n9,UP\r\nVK_SHIFT,UP\r\n222,DOWN\r\nCHAR,U+00E4\r\n222,UP\r\n"
            "32,DOWN\r\nCHAR,U+0020\r\n188,DOWN\r\nCHAR,,\r\n");
  EXPECT_EQ(ParseMacro(text), events);
  // Files without CHAR lines play the keys as before.
  EXPECT_EQ(ParseMacro("9,DOWN\n9,UP\n"), (Events{{'9', true}, {'9', false}}));
  // A CHAR line gives the press right before it its character; any other is skipped.
  EXPECT_EQ(ParseMacro("CHAR,a\nA,DOWN\nCHAR,u+00e4\nB,UP\nCHAR,b\n"), (Events{{'A', true}, {'B', false}}));
  EXPECT_EQ(ParseMacro("A,DOWN\nCHAR,U+00e4\n"), (Events{{'A', true, u'\u00E4'}}));
  for (const char* invalid : {"CHAR,ab", "CHAR,U+12", "CHAR,U+0001F", "CHAR,U+001F", "CHAR,U+00G4", "CHAR,", "CHAR, a"}) {
    EXPECT_EQ(ParseMacro(std::string("A,DOWN\n") + invalid), (Events{{'A', true}})) << invalid;
  }
}

TEST(MacroFileTest, TheReaderAcceptsHandWrittenSpellingsAndSkipsInvalidLines) {
  EXPECT_EQ(ParseMacro("a,click\n"), (Events{{'A', true}, {'A', false}}));
  EXPECT_EQ(ParseMacro("65,1\n"), (Events{{'A', true}}));
  EXPECT_EQ(ParseMacro(" ,d\r\nx,U\n"), (Events{{' ', true}, {'X', false}}));
  EXPECT_EQ(ParseMacro("  66abc,Down\n"), (Events{{66, true}}));  // leading blanks and a digit prefix
  // "0" is the key 0, as the writer writes it; the code 0 itself is no key.
  EXPECT_EQ(ParseMacro("0,DOWN\n"), (Events{{'0', true}}));
  EXPECT_TRUE(ParseMacro("A, DOWN\nA,DOWN \nVK_return,DOWN\n00,DOWN\nno comma\nA,PRESS\nVK_,1\n"
                         "99999999999,1\n,1\n")
                  .empty());
}

TEST(MacroFileTest, FilesWithNonAsciiPathsSaveAndLoad) {
  test::TempFolder folder;
  const auto fs = MakeNativeFileSystem();
  const std::u16string path = folder.Path16() + u"\u00E9t\u00E9 \u65E5\u672C.km";
  const Events events{{'A', true}, {'A', false}};
  ASSERT_TRUE(SaveMacroFile(*fs, path, events));
  EXPECT_EQ(LoadMacroFile(*fs, path), events);
  EXPECT_EQ(LoadMacroFile(*fs, folder.Path16() + u"missing.km"), std::nullopt);
  EXPECT_FALSE(SaveMacroFile(*fs, folder.Path16() + u"no/such/folder.km", events));

  folder.AddFile("invalid.km", "nothing,here\r\n");
  const auto invalid = LoadMacroFile(*fs, folder.Path16() + u"invalid.km");
  ASSERT_TRUE(invalid.has_value());  // readable, but no events: the caller empties the macro
  EXPECT_TRUE(invalid->empty());
}

#ifndef _WIN32
TEST(MacroFileTest, APipeDeviceOrFolderIsNoMacroFileAndNothingWaits) {
  test::TempFolder folder;
  test::WaitingFifo fifo(folder.Path() + "pipe.km");
  ASSERT_TRUE(fifo.Created());
  folder.AddFolder("folder.km");
  ASSERT_EQ(symlink("/dev/zero", (folder.Path() + "device.km").c_str()), 0);
  const auto fs = MakeNativeFileSystem();
  for (const std::u16string_view name : {u"pipe.km", u"folder.km", u"device.km"}) {
    EXPECT_EQ(LoadMacroFile(*fs, folder.Path16() + std::u16string(name)), std::nullopt) << ToUtf8(name);
  }
  EXPECT_FALSE(fifo.ReaderCameBy());
}
#endif

TEST(KeyMacroTest, RepeatsAreRecordedOnceAndRecordingDropsTheOldMacro) {
  KeyMacro macro;
  macro.Record({'A', true});
  EXPECT_TRUE(macro.Events().empty());  // not recording
  macro.StartRecording();
  for (int i = 0; i < 5; ++i) macro.Record({'A', true});
  macro.Record({'A', false});
  EXPECT_EQ(macro.Events(), (Events{{'A', true}, {'A', false}}));
  EXPECT_FALSE(macro.CanPlay());
  macro.StopRecording();
  EXPECT_TRUE(macro.CanPlay());
  macro.StartRecording();
  EXPECT_TRUE(macro.Events().empty());
  macro.Replace({{'B', true}});
  EXPECT_FALSE(macro.Recording());
}

}  // namespace
}  // namespace nomvarix
