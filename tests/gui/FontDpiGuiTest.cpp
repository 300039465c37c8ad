// The program on a desktop whose fonts are set to 144 dots per inch on an unscaled display: the
// view grows with the text, and nothing the user needs is cut off or pushed off the screen.
#include <gtest/gtest.h>
#include <wx/display.h>
#include <wx/splitter.h>

#include "DisplayShot.h"
#include "EditorGuiFixture.h"
#include "platform/SettingKeys.h"
#include "tree/FolderTreeView.h"
#include "view/CommandStrip.h"
#include "view/Palette.h"
#include "view/ViewGeometry.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

class FontDpiGuiTest : public EditorGuiFixture {
 protected:
  /// The display's pixels of the editor once it has painted its folder.
  DisplayShot ShotOfEditor() {
    EXPECT_TRUE(PumpUntil([&] { return view->IsShownOnScreen() && Editor().Metrics().dividerX > 0; }));
    view->Refresh();
    view->Update();
    Settle();
    return DisplayShot(*view);
  }
};

TEST_F(FontDpiGuiTest, TheViewAndItsDefaultFontGrowWithTheFontResolution) {
  ASSERT_EQ(view->GetContentScaleFactor(), 1.0);  // the display is not scaled
  EXPECT_EQ(view->Dpi(), 144);
  EXPECT_EQ(view->FontSize(), static_cast<int>(settings::DefaultFontSize(144)));
  EXPECT_EQ(view->FontSize(), 35);
}

TEST_F(FontDpiGuiTest, TheHeaderAndTheFolderPaneAreWholeAndTheWindowFitsTheScreen) {
  const DisplayShot shot = ShotOfEditor();
  ASSERT_TRUE(shot.IsOk());
  const ViewMetrics& m = Editor().Metrics();
  const int top = view->ScopeStrip().Area().GetBottom() + 1;
  // The header's text ends before the divider: the last columns of its cell show no text.
  int textPixels = 0;
  int rightmost = -1;
  wxColour seen;
  for (int y = top; y < m.textTop; ++y) {
    for (int x = 0; x < m.dividerX; ++x) {
      const wxColour colour = shot.At(x, y);
      // The text is dark grey on a light grey cell; its smoothed edges lie between the two.
      if (colour.Red() + colour.Green() + colour.Blue() > 3 * 140) continue;
      ++textPixels;
      if (x > rightmost) {
        rightmost = x;
        seen = colour;
      }
    }
  }
  EXPECT_LT(rightmost, m.dividerX - ScaledLength(5, view->Dpi()))
      << "header text up to x " << rightmost << " (" << seen.GetAsString().ToStdString() << "), divider at "
      << m.dividerX;
  EXPECT_GT(textPixels, 50) << "the header shows its text";

  EXPECT_GE(frame->FolderPane()->GetSize().x, ScaledLength(120, view->Dpi()));
  const wxRect screen = wxDisplay(frame).GetClientArea();
  EXPECT_TRUE(screen.Contains(frame->GetScreenRect())) << "window " << frame->GetSize().x << " x " << frame->GetSize().y;
  EXPECT_LE(frame->GetMinSize().x, screen.width);

  // Every button is either whole on the strip or offered by its overflow button.
  const CommandStrip& commands = view->ButtonStrip();
  const int left = view->ScopeStrip().ContentRight();
  for (const StripButton& button : commands.Buttons()) {
    if (!button.visible || button.overflowed || button.kind == StripButtonKind::Separator) continue;
    EXPECT_GT(button.rect.GetLeft(), left);
    EXPECT_LE(button.rect.GetRight(), view->GetClientSize().x);
  }
  if (!commands.OverflowRect().IsEmpty()) {
    EXPECT_GT(commands.OverflowRect().GetLeft(), left);
  }
  EXPECT_FALSE(commands.Find(strip::kApply)->overflowed);
}

}  // namespace
}  // namespace nomvarix::test
