// The program on a display that the toolkit scales by 2, measured on the display's own pixels.
#include <gtest/gtest.h>

#include "DisplayShot.h"
#include "EditorGuiFixture.h"
#include "controls/WxText.h"
#include "view/CommandStrip.h"

namespace nomvarix::test {
namespace {

class HiDpiGuiTest : public EditorGuiFixture {};

TEST_F(HiDpiGuiTest, TheStripBandIsScaledOnceAndEveryButtonIsInReach) {
  ASSERT_EQ(view->GetContentScaleFactor(), 2.0);
  ASSERT_TRUE(PumpUntil([&] { return view->IsShownOnScreen() && Editor().Metrics().dividerX > 0; }));
  view->Refresh();
  view->Update();
  Settle();
  const DisplayShot shot(*view);
  ASSERT_TRUE(shot.IsOk());

  const wxColour band(138, 138, 138);
  int bandRows = 0;
  while (bandRows < shot.Height() && shot.At(2, bandRows) == band) ++bandRows;
  EXPECT_EQ(bandRows, 39 * 2);

  // Each button lies whole between the scope boxes and the window's edge, and shows its own fill
  // just inside its border.
  const int stripLeft = view->ScopeStrip().ContentRight();
  const int clientWidth = view->GetClientSize().x;
  int shown = 0;
  for (const StripButton& button : view->ButtonStrip().Buttons()) {
    if (!button.visible || button.kind == StripButtonKind::Separator) continue;
    ++shown;
    const std::string caption = ToWx(button.caption).ToStdString();
    EXPECT_GT(button.rect.GetLeft(), stripLeft) << caption;
    EXPECT_LE(button.rect.GetRight(), clientWidth) << caption;
    const wxColour fill = button.enabled ? button.fillColor : wxColour(138, 138, 138);
    const wxColour seen = shot.At(shot.Physical(button.rect.GetLeft() + 5),
                                  shot.Physical(button.rect.GetTop() + button.rect.GetHeight() / 2));
    EXPECT_EQ(seen, fill) << caption << " shows " << seen.GetAsString().ToStdString();
  }
  EXPECT_GE(shown, 11);
}

}  // namespace
}  // namespace nomvarix::test
