// A macro recorded from real key events in the running program and played back.
#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include "EditorGuiFixture.h"
#include "editor/VirtualKey.h"
#include "macro/MacroFile.h"
#include "support/NameListText.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

class MacroGuiTest : public EditorGuiFixture {
 protected:
  void SetUp() override {
    EditorGuiFixture::SetUp();
    OpenFolderWith({"one", "three", "two"});
  }
  Names Texts() const { return LineTexts(Editor().Names()); }

  void StartRecording() {
    if (!view->ButtonStrip().Find(strip::kRecord)->visible) ClickStripButton(strip::kMacro);
    ClickStripButton(strip::kRecord);
    ASSERT_TRUE(view->Macro().Recording());
  }
  void StopRecording() {
    ClickStripButton(strip::kRecord);
    ASSERT_FALSE(view->Macro().Recording());
  }
  /// Whether the macro presses and releases the key.
  bool PressesAndReleases(int virtualKey) const {
    const auto& events = view->Macro().Events();
    const auto has = [&](bool down) {
      return std::any_of(events.begin(), events.end(),
                         [&](const KeyEvent& e) { return e.virtualKey == virtualKey && e.down == down; });
    };
    return has(true) && has(false);
  }
};

/// The display's keyboard switched to a German layout for one test.
class GermanKeyboard {
 public:
  GermanKeyboard() : switched_(std::system("setxkbmap de 2>/dev/null") == 0) {}
  ~GermanKeyboard() {
    // Nothing more can be done in a destructor if the layout does not come back.
    if (switched_ && std::system("setxkbmap us") != 0) ADD_FAILURE() << "the US keyboard layout did not come back";
  }
  bool Switched() const { return switched_; }

 private:
  bool switched_;
};

TEST_F(MacroGuiTest, ARecordedMacroTypesTheSameTextAgain) {
  ClickAt(RulerPoint(0));  // a column caret
  ASSERT_EQ(view->Session().Editor().Selection(), (BlockSelection{0, 2, 0, 0}));

  // The macro group shows its buttons.
  if (!view->ButtonStrip().Find(strip::kRecord)->visible) ClickStripButton(strip::kMacro);
  ClickStripButton(strip::kRecord);
  ASSERT_TRUE(view->Macro().Recording());
  EXPECT_EQ(view->ButtonStrip().Find(strip::kRecord)->caption, u"Stop");
  sim.Text("Ab-");
  ASSERT_TRUE(PumpUntil([&] { return Texts() == Names{u"Ab-one", u"Ab-three", u"Ab-two"}; }));
  ClickStripButton(strip::kRecord);  // Stop
  ASSERT_FALSE(view->Macro().Recording());
  ASSERT_FALSE(view->Macro().Events().empty());
  EXPECT_TRUE(view->ButtonStrip().Find(strip::kPlay)->enabled);

  sim.Char(WXK_HOME);  // the caret back to column 0 of every line; not recorded
  Settle();
  ClickStripButton(strip::kPlay);
  ASSERT_TRUE(PumpUntil([&] { return Texts() == Names{u"Ab-Ab-one", u"Ab-Ab-three", u"Ab-Ab-two"}; }));
  EXPECT_EQ(view->ButtonStrip().Find(strip::kRecord)->caption, u"Record");

  sim.Char('Z', wxMOD_CONTROL);  // the whole playback is one step
  EXPECT_TRUE(PumpUntil([&] { return Texts() == Names{u"Ab-one", u"Ab-three", u"Ab-two"}; }));
}

TEST_F(MacroGuiTest, ShiftedDigitsAndPunctuationArePlayedBack) {
  ClickAt(CellPoint(0, 0));
  StartRecording();
  sim.Char(WXK_END);
  sim.Char('9', wxMOD_SHIFT);
  sim.Char('0', wxMOD_SHIFT);
  sim.Char('-', wxMOD_SHIFT);
  sim.Char(';');
  sim.Char('[');
  ASSERT_TRUE(PumpUntil([&] { return Texts()[0] == u"one()_;["; }));
  StopRecording();
  for (const int key : {int('9'), int('0'), int(vk::kOemMinus), int(vk::kOem1), int(vk::kOem4)}) {
    EXPECT_TRUE(PressesAndReleases(key)) << "key " << key;
  }

  ClickAt(CellPoint(1, 0));
  ClickStripButton(strip::kPlay);
  EXPECT_TRUE(PumpUntil([&] { return Texts()[1] == u"three()_;["; })) << std::string(Texts()[1].begin(), Texts()[1].end());
}

TEST_F(MacroGuiTest, KeysOfAGermanKeyboardArePlayedBack) {
  const GermanKeyboard german;
  if (!german.Switched()) GTEST_SKIP() << "the display's keyboard layout cannot be changed";
  ClickAt(CellPoint(0, 0));
  StartRecording();
  // A dead accent and "e" type one character.
  ASSERT_EQ(std::system("xdotool key adiaeresis ssharp dead_acute e z"), 0);
  ASSERT_TRUE(PumpUntil([&] { return Texts()[0] == u"\u00E4\u00DF\u00E9zone"; }));
  StopRecording();
  EXPECT_EQ(ParseMacro(FormatMacro(view->Macro().Events())), view->Macro().Events()) << "a saved macro loads the same";

  ClickAt(CellPoint(1, 0));
  ClickStripButton(strip::kPlay);
  EXPECT_TRUE(PumpUntil([&] { return Texts()[1] == u"\u00E4\u00DF\u00E9zthree"; }));
}

}  // namespace
}  // namespace nomvarix::test
