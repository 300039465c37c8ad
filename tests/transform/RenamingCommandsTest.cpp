// Case and space commands, smart numbering, padding and trimming on an editor.
#include <optional>

#include <gtest/gtest.h>

#include "transform/CaseSpace.h"
#include "transform/PadTrim.h"
#include "transform/SmartNumbering.h"
#include "support/EditorFixture.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Lines = test::EditorFixture::Lines;

TEST(TransformedTest, CaseFollowsUnicodeOneCharacterAtATime) {
  const struct {
    std::u16string_view piece;
    TextTransform transform;
    std::u16string_view expected;
  } cases[] = {
      {u"04 - MOT\u00D6RHEAD", TextTransform::TitleCase, u"04 - Mot\u00F6rhead"},
      {u"CAF\u00C9", TextTransform::TitleCase, u"Caf\u00E9"},
      {u"\u00D6", TextTransform::Lowercase, u"\u00F6"},
      {u"\u00C9T\u00C9", TextTransform::Lowercase, u"\u00E9t\u00E9"},
      {u"\u00E9t\u00E9 \u03C3\u03BF\u03C6\u03AF\u03B1", TextTransform::Uppercase, u"\u00C9T\u00C9 \u03A3\u039F\u03A6\u038A\u0391"},
      {u"stra\u00DFe.txt", TextTransform::Uppercase, u"STRA\u00DFE.TXT"},  // one to one: ß stays
      {u"\uFB01le", TextTransform::Uppercase, u"\uFB01LE"},                    // the ligature has no one-letter capital
      {u"\u01C6emal", TextTransform::TitleCase, u"\u01C5emal"},               // dž has a title form of its own
      {u"\U00010428x", TextTransform::Uppercase, u"\U00010400X"},             // outside the BMP, two units each way
      {u"a\xDCFF" u"b", TextTransform::Uppercase, u"A\xDCFF" u"B"},         // an undecodable byte stays
      {u"\u65E5\u8A18 abc", TextTransform::TitleCase, u"\u65E5\u8A18 Abc"},
      {u"Hello", TextTransform::ToggleCase, u"hELLO"},
      {u"\u00C9a", TextTransform::ToggleCase, u"\u00E9A"},
      {u"my photo.jpg", TextTransform::TitleCase, u"My Photo.Jpg"},
      {u"hello_world-again", TextTransform::TitleCase, u"Hello_World-Again"},
      {u"ello", TextTransform::TitleCase, u"Ello"},
      {u"a\u00A0b", TextTransform::TitleCase, u"A\u00A0B"},
  };
  for (const auto& c : cases) {
    const std::u16string out = Transformed(c.piece, c.transform);
    EXPECT_EQ(out, c.expected) << ToUtf8(c.piece);
    EXPECT_EQ(out.size(), c.piece.size());
  }
}

TEST(TransformedTest, SeparatorRunsBecomeOneAndATrailingOneGoes) {
  EXPECT_EQ(Transformed(u"my - file name  ", TextTransform::Underscores), u"my_file_name");
  EXPECT_EQ(Transformed(u"_notes", TextTransform::Hyphens), u"-notes");
  EXPECT_EQ(Transformed(u"a b-c_d", TextTransform::RemoveSpace), u"abcd");
  EXPECT_EQ(Transformed(u"a\u00A0b", TextTransform::RemoveSpace), u"a\u00A0b");  // no-break space is no separator
  EXPECT_EQ(Transformed(u"x ", TextTransform::RemoveSpace), u"x");
  EXPECT_EQ(Transformed(u"", TextTransform::Hyphens), u"");
}

using RenamingCommandsTest = test::EditorFixture;

TEST_F(RenamingCommandsTest, TheDriverChangesTheSelectedColumnsAsOneUndoStep) {
  Load({u"abcdef", u"bc", u"xyz"});
  Caret(0, 1);
  EXPECT_FALSE(TransformSelection(editor, TextTransform::Uppercase));  // no width
  editor.SetSelection({0, 2, 2, 2}, {2, 2});
  EXPECT_FALSE(TransformSelection(editor, TextTransform::Uppercase));
  EXPECT_FALSE(editor.CanUndo());

  Block(0, 2, 1, 4);
  EXPECT_TRUE(TransformSelection(editor, TextTransform::Uppercase));
  EXPECT_EQ(Texts(), (Lines{u"aBCDef", u"bC", u"xYZ"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 1, 4}));
  editor.Undo();
  EXPECT_EQ(Texts(), (Lines{u"abcdef", u"bc", u"xyz"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 1, 4}));
}

TEST_F(RenamingCommandsTest, TheScopeDecidesWhatTheCommandsReach) {
  Load({u"report.pdf"});
  editor.ToggleScopeButton(ScopeButton::Extension);  // name only
  Block(0, 0, 0, 6);
  TransformSelection(editor, TextTransform::Uppercase);
  EXPECT_EQ(editor.Names()[0].newName, u"REPORT.pdf");
}

TEST_F(RenamingCommandsTest, TitleCaseOfWholeNamesLeavesTheExtensionAlone) {
  const struct {
    std::u16string_view name;
    std::optional<ScopeButton> toggled;  // the scope button turned off, if any
    TextTransform transform;
    std::u16string_view expected;
  } cases[] = {
      {u"a.jpg", {}, TextTransform::TitleCase, u"A.jpg"},
      {u"MY.PHOTO.JPG", {}, TextTransform::TitleCase, u"My.Photo.JPG"},
      {u"r\u00E9sum\u00E9 final", {}, TextTransform::TitleCase, u"R\u00E9sum\u00E9 Final"},  // no extension
      {u"a.jpg", ScopeButton::Name, TextTransform::TitleCase, u"a.Jpg"},  // the extension alone is the user's choice
      {u"a.jpg", {}, TextTransform::Uppercase, u"A.JPG"},
  };
  for (const auto& c : cases) {
    Load({std::u16string(c.name)});
    if (c.toggled) editor.ToggleScopeButton(*c.toggled);
    Block(0, 0, 0, static_cast<std::int32_t>(editor.Names()[0].lineText.size()));
    TransformSelection(editor, c.transform);
    EXPECT_EQ(editor.Names()[0].newName, c.expected) << ToUtf8(c.name);
  }
}

class SmartNumberingTest : public test::EditorFixture {
 protected:
  /// `count` lines "#…#|a", "#…#|b", … with `example` in place of the first line's #s, numbered
  /// over the block of the #s.
  NumberingResult Number(std::u16string_view example, int count) {
    Lines lines;
    for (int i = 0; i < count; ++i) {
      std::u16string line(example.size(), u'#');
      line += u'|';
      line += static_cast<char16_t>(u'a' + i);
      lines.push_back(line);
    }
    Load(lines);
    editor.SetLineText(0, std::u16string(example) + u"|a");
    Block(0, count - 1, 0, static_cast<std::int32_t>(example.size()));
    return NumberSelection(editor);
  }
  /// What stands before the "|" of each line.
  Lines Numbers() const {
    Lines out;
    for (const auto& text : Texts()) out.push_back(text.substr(0, text.find(u'|')));
    return out;
  }
};

TEST_F(SmartNumberingTest, TheExampleGivesStartWidthAndTail) {
  EXPECT_EQ(Number(u"08", 3), NumberingResult::Done);
  EXPECT_EQ(Numbers(), (Lines{u"08", u"09", u"10"}));
  Number(u"000", 3);
  EXPECT_EQ(Numbers(), (Lines{u"000", u"001", u"002"}));
  Number(u"7_", 3);
  EXPECT_EQ(Numbers(), (Lines{u"7_", u"8_", u"9_"}));
  Number(u"98", 4);
  EXPECT_EQ(Numbers(), (Lines{u"98", u"99", u"100", u"101"}));
  Number(u"12abc34", 3);
  EXPECT_EQ(Numbers(), (Lines{u"12abc34", u"13abc34", u"14abc34"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 0, 7}));
  editor.Undo();
  EXPECT_EQ(Texts(), (Lines{u"12abc34|a", u"#######|b", u"#######|c"}));
}

TEST_F(SmartNumberingTest, WhatIsNoNumberChangesNothing) {
  for (const char16_t* example : {u"a1", u"-3", u"0x"}) {
    EXPECT_EQ(Number(example, 3), NumberingResult::NotANumber);
    EXPECT_FALSE(editor.CanUndo());
  }
  EXPECT_EQ(Number(u"99999999999", 2), NumberingResult::NotANumber);  // beyond 32 bits
  EXPECT_EQ(Number(std::u16string(31, u'0').append(u"1"), 2), NumberingResult::TooLong);
  EXPECT_EQ(Number(std::u16string(30, u'0').append(u"1"), 2), NumberingResult::Done);
  EXPECT_EQ(NumberingMessage(NumberingResult::TooLong), u"Generated number is too long for the selected width.");

  Load({u"ab", u"defgh"});
  Block(0, 0, 0, 2);
  EXPECT_EQ(NumberSelection(editor), NumberingResult::NoBlock);
  Block(0, 1, 3, 5);
  EXPECT_EQ(NumberSelection(editor), NumberingResult::EmptyExample);
}

TEST_F(SmartNumberingTest, ShortLinesArePaddedToTheColumn) {
  Load({u"ab1", u"c", u"defg"});
  Block(0, 2, 2, 3);
  EXPECT_EQ(NumberSelection(editor), NumberingResult::Done);
  EXPECT_EQ(Texts(), (Lines{u"ab1", u"c 2", u"de3g"}));
}

using PadTrimTest = test::EditorFixture;

TEST_F(PadTrimTest, RightAlignThenTrimLeftRestoresTheNames) {
  Load({u"a.txt", u"abc.txt", u"abcdef.txt"});
  editor.SetMetrics({.lineHeight = 10, .charWidth = 10, .clientWidth = 50, .clientHeight = 100});
  RightAlignAll(editor);
  EXPECT_EQ(Texts(), (Lines{u"     a.txt", u"   abc.txt", u"abcdef.txt"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 10, 10}));
  EXPECT_EQ(editor.LeftColumn(), 5);  // the text's right end at the right edge
  TrimLeftAll(editor);
  EXPECT_EQ(Texts(), (Lines{u"a.txt", u"abc.txt", u"abcdef.txt"}));
  EXPECT_EQ(editor.LeftColumn(), 0);
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 0, 0}));
}

TEST_F(PadTrimTest, SelectionVariantsTabsAndSingleLines) {
  Load({u"\ty", u"   ", u"  x", u"zz"});
  Block(0, 2, 0, 1);
  TrimLeftSelection(editor);
  EXPECT_EQ(Texts(), (Lines{u"\ty", u"", u"x", u"zz"}));  // a tab stays

  Caret(3, 0);
  EXPECT_FALSE(RightAlignSelection(editor));
  editor.SetSelection({1, 3, 0, 0}, {3, 0});
  EXPECT_TRUE(RightAlignSelection(editor));
  EXPECT_EQ(Texts(), (Lines{u"\ty", u"  ", u" x", u"zz"}));

  Load({u"only"});
  RightAlignAll(editor);
  EXPECT_EQ(Texts(), (Lines{u"only"}));
  EXPECT_TRUE(editor.CanUndo());  // the step is recorded all the same
}

TEST_F(PadTrimTest, InNameScopeThePaddingGoesBeforeTheName) {
  Load({u"a.pdf", u"report.pdf"});
  editor.ToggleScopeButton(ScopeButton::Extension);
  RightAlignAll(editor);
  EXPECT_EQ(editor.Names()[0].newName, u"     a.pdf");
  EXPECT_EQ(editor.Names()[1].newName, u"report.pdf");
}

}  // namespace
}  // namespace nomvarix
