// However narrow the user makes the main window or its editor pane, every button of the command
// strip stays whole on the screen.
#include <gtest/gtest.h>
#include <wx/splitter.h>

#include "EditorGuiFixture.h"
#include "controls/WxText.h"
#include "view/CommandStrip.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

class StripReachGuiTest : public EditorGuiFixture {
 protected:
  /// Repaints the editor and checks that each shown button lies between the scope boxes and the
  /// window's right edge.
  void ExpectEveryButtonInReach(const char* when) {
    view->Refresh();
    view->Update();
    Settle();
    const int left = view->ScopeStrip().ContentRight();
    const int right = view->GetClientSize().x;
    for (const StripButton& button : view->ButtonStrip().Buttons()) {
      if (!button.visible || button.kind == StripButtonKind::Separator) continue;
      EXPECT_GT(button.rect.GetLeft(), left) << when << ": " << ToWx(button.caption);
      EXPECT_LE(button.rect.GetRight(), right) << when << ": " << ToWx(button.caption);
    }
  }
};

TEST_F(StripReachGuiTest, NeitherANarrowWindowNorAWideFolderPaneHidesAButton) {
  ClickStripButton(strip::kMacro);  // "Record" and "Play" show too
  ASSERT_TRUE(view->ButtonStrip().Find(strip::kRecord)->visible);
  const int wide = frame->GetSize().x;
  frame->SetSize(wxSize(frame->FromDIP(800), frame->GetSize().y));
  ASSERT_TRUE(PumpUntil([&] { return frame->GetSize().x < wide; }));
  EXPECT_LT(frame->Splitter()->GetSashPosition(), frame->FromDIP(250));  // the folder pane gave way
  ExpectEveryButtonInReach("a narrow window");

  frame->SetSize(wxSize(wide, frame->GetSize().y));
  ASSERT_TRUE(PumpUntil([&] { return frame->GetSize().x == wide; }));
  // Dragging the sash far to the right stops where the editor still shows every button.
  wxSplitterWindow& splitter = *frame->Splitter();
  const wxPoint sash(splitter.GetSashPosition() + splitter.GetSashSize() / 2, splitter.GetClientSize().y / 2);
  MoveTo(splitter, sash);
  sim.MouseDown();
  Settle();
  MoveTo(splitter, sash + wxPoint(splitter.GetClientSize().x / 4, 0));
  MoveTo(splitter, wxPoint(splitter.GetClientSize().x - 5, sash.y));
  sim.MouseUp();
  Settle();
  ASSERT_GT(splitter.GetSashPosition(), sash.x);  // the drag moved it
  ExpectEveryButtonInReach("a wide folder pane");
}

}  // namespace
}  // namespace nomvarix::test
