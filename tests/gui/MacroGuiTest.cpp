// A macro recorded from real key events in the running program and played back.
#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include "GuiPump.h"
#include "GuiTestEnvironment.h"
#include "app/MainFrame.h"
#include "app/NomvarixApp.h"
#include "support/NameListText.h"
#include "support/TempFolder.h"
#include "view/NomvarixView.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

class MacroGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = GuiTestEnvironment::Get().App().MainFrame();
    view = frame->EditorView();
    ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().LineCount() > 0; }));
    for (const char* name : {"one", "three", "two"}) folder.AddFile(name);
    ASSERT_TRUE(frame->SelectPath(folder.Path16()));
    view->Refresh();
    view->Update();
    ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().Metrics().dividerX > 0; }));
  }
  Names Texts() const { return LineTexts(view->Session().Editor().Names()); }
  void Click(const wxPoint& client) {
    sim.MouseMove(view->ClientToScreen(client));
    PumpFor(50);
    sim.MouseClick();
    PumpFor(100);
  }
  void ClickStrip(int id) {
    const StripButton* button = view->ButtonStrip().Find(id);
    ASSERT_TRUE(button && button->visible);
    PumpFor(500);  // no double click with the last click
    Click(button->rect.GetPosition() + wxPoint(button->rect.width / 2, button->rect.height / 2));
  }

  CMainFrame* frame = nullptr;
  CNomvarixView* view = nullptr;
  TempFolder folder;
  wxUIActionSimulator sim;
};

TEST_F(MacroGuiTest, ARecordedMacroTypesTheSameTextAgain) {
  const ViewMetrics& m = view->Session().Editor().Metrics();
  Click(wxPoint(m.dividerX + m.textMargin + m.charWidth / 2, m.textTop - 8));  // the ruler: a column caret
  ASSERT_EQ(view->Session().Editor().Selection(), (BlockSelection{0, 2, 0, 0}));

  // The macro group shows its buttons.
  if (!view->ButtonStrip().Find(strip::kRecord)->visible) ClickStrip(strip::kMacro);
  ClickStrip(strip::kRecord);
  ASSERT_TRUE(view->Macro().Recording());
  EXPECT_EQ(view->ButtonStrip().Find(strip::kRecord)->caption, u"Stop");
  sim.Text("Ab-");
  ASSERT_TRUE(PumpUntil([&] { return Texts() == Names{u"Ab-one", u"Ab-three", u"Ab-two"}; }));
  ClickStrip(strip::kRecord);  // Stop
  ASSERT_FALSE(view->Macro().Recording());
  ASSERT_FALSE(view->Macro().Events().empty());
  EXPECT_TRUE(view->ButtonStrip().Find(strip::kPlay)->enabled);

  sim.Char(WXK_HOME);  // the caret back to column 0 of every line; not recorded
  PumpFor(100);
  ClickStrip(strip::kPlay);
  ASSERT_TRUE(PumpUntil([&] { return Texts() == Names{u"Ab-Ab-one", u"Ab-Ab-three", u"Ab-Ab-two"}; }));
  EXPECT_EQ(view->ButtonStrip().Find(strip::kRecord)->caption, u"Record");

  sim.Char('Z', wxMOD_CONTROL);  // each played key was its own edit
  EXPECT_TRUE(PumpUntil([&] { return Texts() == Names{u"AbAb-one", u"AbAb-three", u"AbAb-two"}; }));
}

}  // namespace
}  // namespace nomvarix::test
