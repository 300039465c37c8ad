// Drives the running program with real key and mouse events of the display (XTEST) and checks
// the editor's state.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/menu.h>
#include <wx/splitter.h>

#include "EditorGuiFixture.h"
#include "resources/CommandIds.h"
#include "editor/VirtualKey.h"
#include "support/NameListText.h"
#include "view/KeyCodes.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

class EditorInputGuiTest : public EditorGuiFixture {
 protected:
  void SetUp() override {
    EditorGuiFixture::SetUp();
    OpenFolderWith({"abc def", "bcd", "cde fgh", "defgh"});
    ASSERT_NO_FATAL_FAILURE(FocusEditor());
  }

  Names Texts() const { return LineTexts(Editor().Names()); }

  /// A wheel notch as the display reports it: button 4 up, 5 down, with Ctrl held.
  void CtrlWheel(bool up) {
    const std::string command = std::string("xdotool keydown ctrl click ") + (up ? "4" : "5") + " keyup ctrl";
    ASSERT_EQ(std::system(command.c_str()), 0);
    Settle();
  }
};

TEST_F(EditorInputGuiTest, ShiftUpFromAnInsertionPointMakesAColumnCaret) {
  ClickAt(CellPoint(2, 1));
  ASSERT_EQ(Editor().Selection(), (BlockSelection{2, 2, 1, 1}));
  Key(WXK_UP, wxMOD_SHIFT);
  EXPECT_EQ(Editor().Selection(), (BlockSelection{1, 2, 1, 1}));
  EXPECT_EQ(Editor().Caret(), (TextPos{1, 1}));
}

TEST_F(EditorInputGuiTest, CtrlRightAndCtrlLeftStopAtTheWordEdges) {
  ClickAt(CellPoint(0, 0));
  Key(WXK_RIGHT, wxMOD_CONTROL);
  EXPECT_EQ(Editor().Caret(), (TextPos{0, 3}));
  Key(WXK_RIGHT, wxMOD_CONTROL);
  EXPECT_EQ(Editor().Caret(), (TextPos{0, 4}));
  Key(WXK_END);
  EXPECT_EQ(Editor().Caret(), (TextPos{0, 7}));
  Key(WXK_LEFT, wxMOD_CONTROL);
  EXPECT_EQ(Editor().Caret(), (TextPos{0, 4}));
}

TEST_F(EditorInputGuiTest, CtrlLeftAndCtrlRightOnASelectionJumpFromItsEdge) {
  const auto keyGives = [&](int key, int modifiers, BlockSelection selection) {
    sim.Char(key, modifiers);
    return PumpUntil([&] { return Editor().Selection() == selection; });
  };
  ClickAt(CellPoint(0, 4));  // "abc |def"
  ASSERT_TRUE(keyGives(WXK_RIGHT, wxMOD_SHIFT, {0, 0, 4, 5}));
  EXPECT_TRUE(keyGives(WXK_RIGHT, wxMOD_CONTROL, {0, 0, 7, 7}));
  ASSERT_TRUE(keyGives(WXK_LEFT, wxMOD_SHIFT, {0, 0, 6, 7}));
  EXPECT_TRUE(keyGives(WXK_LEFT, wxMOD_CONTROL, {0, 0, 4, 4}));
  EXPECT_TRUE(keyGives(WXK_RIGHT, wxMOD_CONTROL | wxMOD_SHIFT, {0, 0, 4, 7}));
  EXPECT_EQ(Editor().Caret(), (TextPos{0, 7}));
}

TEST_F(EditorInputGuiTest, ARulerClickThenDragSelectsColumnsOnEveryLine) {
  ClickAt(RulerPoint(3));
  EXPECT_EQ(Editor().Selection(), (BlockSelection{0, 3, 3, 3}));
  WaitOutDoubleClick();
  sim.MouseDown();
  Settle();
  MoveTo(RulerPoint(5));
  MoveTo(RulerPoint(6));
  sim.MouseUp();
  Settle();
  EXPECT_EQ(Editor().Selection(), (BlockSelection{0, 3, 3, 6}));
  EXPECT_EQ(Editor().Caret(), (TextPos{3, 3}));
}

TEST_F(EditorInputGuiTest, TypingIntoAColumnCaretInsertsOnEveryLineAndCtrlZUndoesIt) {
  ClickAt(RulerPoint(0));
  TypeText("x");
  EXPECT_EQ(Texts(), (Names{u"xabc def", u"xbcd", u"xcde fgh", u"xdefgh"}));
  Key('Z', wxMOD_CONTROL);
  EXPECT_EQ(Texts(), (Names{u"abc def", u"bcd", u"cde fgh", u"defgh"}));
  EXPECT_TRUE(Editor().CanRedo());
  Key('Z', wxMOD_CONTROL | wxMOD_SHIFT);  // redoes, as Ctrl+Y does
  EXPECT_EQ(Texts(), (Names{u"xabc def", u"xbcd", u"xcde fgh", u"xdefgh"}));
  EXPECT_FALSE(Editor().CanRedo());
}

TEST_F(EditorInputGuiTest, CtrlQClosesTheMainWindow) {
  int closes = 0;
  // Counted and refused, so that the program stays for the other tests.
  const auto refuse = [&](wxCloseEvent& event) {
    ++closes;
    event.Veto();
  };
  frame->Bind(wxEVT_CLOSE_WINDOW, refuse);
  FocusEditor();
  Key('Q', wxMOD_CONTROL);
  frame->Unbind(wxEVT_CLOSE_WINDOW, refuse);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(frame->GetMenuBar()->GetLabel(cmd::MenuIdOf(cmd::kExit)).Contains("Ctrl+Q"));
}

TEST_F(EditorInputGuiTest, ADisabledCutDoesNothingFromItsAcceleratorAndAnEnabledOneCuts) {
  ClickAt(CellPoint(0, 2));  // a plain caret: Cut is disabled
  ASSERT_TRUE(wxTheClipboard->Open());
  wxTheClipboard->SetData(new wxTextDataObject("keep"));
  wxTheClipboard->Close();
  Key('X', wxMOD_CONTROL);
  Key(WXK_DELETE, wxMOD_SHIFT);
  EXPECT_EQ(Texts(), (Names{u"abc def", u"bcd", u"cde fgh", u"defgh"}));
  EXPECT_FALSE(Editor().CanUndo());

  Key(WXK_RIGHT, wxMOD_SHIFT);  // "c" selected
  Key('X', wxMOD_CONTROL);
  EXPECT_EQ(Texts()[0], u"ab def");
  wxTextDataObject text;
  ASSERT_TRUE(wxTheClipboard->Open());
  wxTheClipboard->GetData(text);
  wxTheClipboard->Close();
  EXPECT_EQ(text.GetText(), "c");
}

TEST_F(EditorInputGuiTest, CtrlWheelChangesTheFontSizeUpToItsLimitAndNoFurther) {
  const int start = view->FontSize();
  int previous = start;
  for (int i = 0; i < 40 && previous < 64; ++i) {
    CtrlWheel(true);
    ASSERT_EQ(view->FontSize(), previous + 2);
    previous = view->FontSize();
  }
  ASSERT_GE(previous, 64);
  CtrlWheel(true);  // at the limit nothing happens
  EXPECT_EQ(view->FontSize(), previous);
  CtrlWheel(false);
  EXPECT_EQ(view->FontSize(), previous - 2);
  EXPECT_NE(GuiTestEnvironment::Get().SettingsText().find("FontSize=" + std::to_string(previous - 2)),
            std::string::npos);
}

TEST_F(EditorInputGuiTest, ADoubleClickSelectsAWordAndBeyondTheLineNothing) {
  MoveTo(CellPoint(0, 5));
  sim.MouseDblClick();
  Settle();
  EXPECT_EQ(Editor().Selection(), (BlockSelection{0, 0, 4, 7}));
  EXPECT_EQ(Editor().Caret(), (TextPos{0, 7}));

  MoveTo(CellPoint(1, 6));  // "bcd" ends at column 3
  sim.MouseDblClick();
  Settle();
  EXPECT_FALSE(Editor().Selection().HasWidth());
}

TEST(KeyCodeGuiTest, ToolkitKeysMapToVirtualKeys) {
  EXPECT_EQ(VirtualKeyOfWxKey('a'), 'A');
  EXPECT_EQ(VirtualKeyOfWxKey('Q'), 'Q');
  EXPECT_EQ(VirtualKeyOfWxKey('7'), '7');
  EXPECT_EQ(VirtualKeyOfWxKey(WXK_DELETE), vk::kDelete);
  EXPECT_EQ(VirtualKeyOfWxKey(WXK_BACK), vk::kBack);
  EXPECT_EQ(VirtualKeyOfWxKey(WXK_PAGEUP), vk::kPrior);
  EXPECT_EQ(VirtualKeyOfWxKey(WXK_NUMPAD_END), vk::kEnd);
  EXPECT_EQ(VirtualKeyOfWxKey(WXK_NUMPAD3), vk::kNumpad0 + 3);
  EXPECT_EQ(VirtualKeyOfWxKey(WXK_F3), vk::kF3);
  EXPECT_EQ(VirtualKeyOfWxKey(WXK_F24), vk::kF24);
  EXPECT_EQ(VirtualKeyOfWxKey(WXK_SHIFT), vk::kShift);
  EXPECT_EQ(VirtualKeyOfWxKey('-'), vk::kOemMinus);
  EXPECT_EQ(VirtualKeyOfWxKey(WXK_NONE), 0);
  // The character keys by their place on the keyboard, from the first of each row to the last.
  EXPECT_EQ(VirtualKeyOfX11KeyCode(10), '1');
  EXPECT_EQ(VirtualKeyOfX11KeyCode(21), vk::kOemPlus);
  EXPECT_EQ(VirtualKeyOfX11KeyCode(24), 'Q');
  EXPECT_EQ(VirtualKeyOfX11KeyCode(35), vk::kOem6);
  EXPECT_EQ(VirtualKeyOfX11KeyCode(48), vk::kOem7);
  EXPECT_EQ(VirtualKeyOfX11KeyCode(51), vk::kOem5);
  EXPECT_EQ(VirtualKeyOfX11KeyCode(61), vk::kOem2);
  EXPECT_EQ(VirtualKeyOfX11KeyCode(94), vk::kOem102);
  for (const unsigned other : {9u, 22u, 23u, 36u, 37u, 50u, 62u, 65u, 95u}) EXPECT_EQ(VirtualKeyOfX11KeyCode(other), 0) << other;
}

TEST_F(EditorInputGuiTest, AClickBetweenTheStripsRunsNothingAndButtonsWithoutRoomOverflow) {
  // The window keeps the editor wide enough for every button; only the program itself can still
  // move the sash further, as far as a window 800 pixels wide used to leave the editor.
  wxSplitterWindow& splitter = *frame->Splitter();
  const int sashBefore = splitter.GetSashPosition();
  const int editorWidth = 800 - frame->FromDIP(250) - splitter.GetSashSize();
  splitter.SetSashPosition(splitter.GetClientSize().x - splitter.GetSashSize() - editorWidth);
  ASSERT_TRUE(PumpUntil([&] { return view->GetSize().x == editorWidth; }));
  view->Refresh();
  view->Update();
  ClickAt(CellPoint(1, 0));
  TypeText("x");
  ASSERT_EQ(Texts()[1], u"xbcd");

  // The command strip begins half a band right of ".ext"; what does not fit there is not shown.
  const CommandStrip& commands = view->ButtonStrip();
  const int gapLeft = view->ScopeStrip().ContentRight();
  const wxRect shown = commands.Area();
  EXPECT_GT(shown.GetLeft(), gapLeft) << "the strip's area starts where it is painted";
  const int y = commands.Find(strip::kApply)->rect.GetTop() + 5;
  ClickAt(wxPoint(gapLeft + 2, y));
  EXPECT_EQ(Texts()[1], u"xbcd") << "a click in the gap runs nothing";
  WaitOutDoubleClick();

  // Undo finds no room here: it is offered by the overflow button at the strip's start instead,
  // and takes no click where it would have been.
  EXPECT_TRUE(commands.Find(strip::kUndo)->overflowed);
  EXPECT_TRUE(commands.Find(strip::kUndo)->rect.IsEmpty());
  EXPECT_EQ(commands.OverflowRect().GetLeft(), shown.GetLeft());
  splitter.SetSashPosition(sashBefore);
}

}  // namespace
}  // namespace nomvarix::test
