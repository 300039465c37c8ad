#include <gtest/gtest.h>
#include <wx/dcmemory.h>

#include "GuiPump.h"
#include "GuiTestEnvironment.h"
#include "app/MainFrame.h"
#include "app/NomvarixApp.h"
#include "view/EditorPrintout.h"
#include "view/NomvarixView.h"

namespace nomvarix::test {
namespace {

TEST(PrintGuiTest, ThePrintoutDrawsTheEditorOnItsOnePage) {
  CNomvarixView* view = GuiTestEnvironment::Get().App().MainFrame()->EditorView();
  ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().LineCount() > 0; }));
  EditorPrintout printout(*view);
  int minPage = 0, maxPage = 0, from = 0, to = 0;
  printout.GetPageInfo(&minPage, &maxPage, &from, &to);
  EXPECT_EQ(maxPage, 1);
  EXPECT_FALSE(printout.HasPage(2));

  wxBitmap page(850, 1100, 24);
  {
    wxMemoryDC dc(page);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    printout.SetDC(&dc);
    printout.SetPageSizePixels(850, 1100);
    printout.SetPaperRectPixels(wxRect(0, 0, 850, 1100));
    printout.SetPPIScreen(96, 96);
    printout.SetPPIPrinter(96, 96);
    ASSERT_TRUE(printout.OnPrintPage(1));
    printout.SetDC(nullptr);
  }
  // The strip band's grey appears near the top of the page.
  const wxImage image = page.ConvertToImage();
  int grey = 0;
  for (int x = 0; x < 850; x += 5) {
    for (int y = 0; y < 300; y += 5) {
      if (image.GetRed(x, y) == image.GetGreen(x, y) && image.GetRed(x, y) < 200 && image.GetRed(x, y) > 60) ++grey;
    }
  }
  EXPECT_GT(grey, 50);
}

}  // namespace
}  // namespace nomvarix::test
