// A command of the Tools pop-up chosen with the real mouse and keys, then undone.
#include <gtest/gtest.h>
#include <wx/timer.h>
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

/// Walks the open pop-up with keys: the second item ("Case"), into its sub-menu, its first item.
class ChooseUppercase : public wxTimer {
 public:
  explicit ChooseUppercase(wxUIActionSimulator& sim) : sim_(sim) { StartOnce(700); }
  void Notify() override {
    for (const int key : {WXK_DOWN, WXK_DOWN, WXK_RIGHT, WXK_RETURN}) {
      sim_.Char(key);
      wxMilliSleep(80);
    }
  }

 private:
  wxUIActionSimulator& sim_;
};

TEST(ToolsMenuGuiTest, UppercaseFromTheToolsPopUpIsOneUndoStep) {
  CMainFrame* frame = GuiTestEnvironment::Get().App().MainFrame();
  CNomvarixView* view = frame->EditorView();
  // The start-up folder first, so that its load does not come after ours.
  ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().LineCount() > 0; }));
  TempFolder folder;
  for (const char* name : {"a photo.jpg", "b note.txt"}) folder.AddFile(name);
  ASSERT_TRUE(frame->SelectPath(folder.Path16()));
  view->Refresh();
  view->Update();
  ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().Metrics().dividerX > 0; }));
  wxUIActionSimulator sim;
  sim.MouseMove(view->ClientToScreen(wxPoint(view->GetClientSize().x - 30, view->GetClientSize().y - 30)));
  sim.MouseClick();
  PumpFor(100);
  sim.Char('A', wxMOD_CONTROL);
  PumpFor(100);
  const BlockSelection all = view->Session().Editor().Selection();
  ASSERT_TRUE(all.HasWidth());

  const StripButton* tools = view->ButtonStrip().Find(strip::kTools);
  ASSERT_NE(tools, nullptr);
  // The drop-down arrow at the button's right end opens the pop-up.
  sim.MouseMove(view->ClientToScreen(wxPoint(tools->rect.GetRight() - 6, tools->rect.GetTop() + tools->rect.height / 2)));
  PumpFor(50);
  ChooseUppercase choose(sim);
  sim.MouseClick();
  ASSERT_TRUE(PumpUntil([&] { return LineTexts(view->Session().Editor().Names())[0] == u"A PHOTO.JPG"; }));
  EXPECT_EQ(LineTexts(view->Session().Editor().Names()), (Names{u"A PHOTO.JPG", u"B NOTE.TXT"}));

  PumpFor(600);
  sim.Char('Z', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return LineTexts(view->Session().Editor().Names())[0] == u"a photo.jpg"; }));
  EXPECT_EQ(LineTexts(view->Session().Editor().Names()), (Names{u"a photo.jpg", u"b note.txt"}));
  EXPECT_EQ(view->Session().Editor().Selection(), all);
}

}  // namespace
}  // namespace nomvarix::test
