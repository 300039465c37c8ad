// However narrow the user makes the main window or its editor pane, every button of the command
// strip stays whole on the screen.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
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
  // The window widened again gave the folder pane its width back; a wider one leaves room to drag.
  frame->SetSize(wxSize(wide + frame->FromDIP(200), frame->GetSize().y));
  ASSERT_TRUE(PumpUntil([&] { return frame->GetSize().x > wide; }));
  Settle();
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

TEST_F(StripReachGuiTest, WideningTheWindowAgainGivesTheFolderPaneItsWidthBack) {
  wxSplitterWindow& splitter = *frame->Splitter();
  const int paneWidth = splitter.GetSashPosition();
  const wxSize wide = frame->GetSize();
  frame->SetSize(wxSize(1, wide.y));  // as narrow as the window goes
  ASSERT_TRUE(PumpUntil([&] { return frame->GetSize().x < wide.x; }));
  EXPECT_TRUE(PumpUntil([&] { return splitter.GetSashPosition() < paneWidth; }));  // the folder pane gave way
  frame->SetSize(wide);
  ASSERT_TRUE(PumpUntil([&] { return frame->GetSize() == wide; }));
  // The splitter is laid out after the frame has its size: wait for the sash, not for a moment.
  EXPECT_TRUE(PumpUntil([&] { return splitter.GetSashPosition() == paneWidth; })) << splitter.GetSashPosition();
}

TEST_F(StripReachGuiTest, ButtonsWithoutRoomMoveIntoTheOverflowMenuFromTheFarEnd) {
  wxBitmap bitmap(2000, 60, 24);
  wxMemoryDC dc(bitmap);
  CommandStrip strip(CommandStrip::Direction::FromRight, 96);
  AddCommandButtons(strip);
  const int needed = strip.NeededWidth(dc);
  // Room for all, for the compressed strip only, for some buttons, for hardly anything.
  for (const int width : {needed + 200, needed, needed * 2 / 3, needed / 3, 60}) {
    SCOPED_TRACE(width);
    const wxRect rect(0, 0, width, 39);
    strip.Paint(dc, rect);
    const wxRect& overflow = strip.OverflowRect();
    bool anyOverflowed = false;
    bool packedSeen = false;
    for (const StripButton& button : strip.Buttons()) {
      if (!button.visible) continue;
      if (button.overflowed) {
        EXPECT_FALSE(packedSeen) << "overflowed after a laid-out button: " << ToWx(button.caption);
        EXPECT_TRUE(button.rect.IsEmpty());
        anyOverflowed = true;
        continue;
      }
      if (button.kind == StripButtonKind::Separator) continue;
      packedSeen = true;
      EXPECT_TRUE(rect.Contains(button.rect)) << ToWx(button.caption);
      EXPECT_FALSE(button.rect.Intersects(overflow)) << ToWx(button.caption);
      EXPECT_LT(overflow.GetRight(), button.rect.GetLeft()) << "the overflow button leads";
    }
    EXPECT_EQ(anyOverflowed, !overflow.IsEmpty());
    if (width >= needed) {
      EXPECT_FALSE(anyOverflowed);
    }
    if (width <= needed / 3) {
      EXPECT_TRUE(anyOverflowed);
    }
    if (anyOverflowed) {
      EXPECT_TRUE(rect.Contains(overflow));
    }
    // The commands used most sit at the right end: the last to go.
    if (width >= needed / 3) {
      EXPECT_FALSE(strip.Find(strip::kApply)->overflowed);
    }
  }
}

}  // namespace
}  // namespace nomvarix::test
