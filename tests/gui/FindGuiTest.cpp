// Ctrl+F, the find dialog's buttons and Replace All with real key and mouse events.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "GuiPump.h"
#include "GuiTestEnvironment.h"
#include "app/MainFrame.h"
#include "app/NomvarixApp.h"
#include "support/NameListText.h"
#include "support/TempFolder.h"
#include "view/FindReplaceDlg.h"
#include "view/NomvarixView.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

/// Presses Enter once, a moment after it is started: for a message box that a click opened.
class EnterLater : public wxTimer {
 public:
  explicit EnterLater(wxUIActionSimulator& sim) : sim_(sim) { StartOnce(400); }
  void Notify() override { sim_.Char(WXK_RETURN); }

 private:
  wxUIActionSimulator& sim_;
};

class FindGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = GuiTestEnvironment::Get().App().MainFrame();
    view = frame->EditorView();
    // The start-up folder first, so that its load does not come after ours.
    ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().LineCount() > 0; }));
    for (const char* name : {"banana.jpg", "cabana.jpg", "photo.png"}) folder.AddFile(name);
    ASSERT_TRUE(frame->SelectPath(folder.Path16()));
    view->Refresh();
    view->Update();
    ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().Metrics().dividerX > 0; }));
  }
  const NameEditor& Editor() const { return view->Session().Editor(); }
  void MoveTo(const wxPoint& screen) {
    sim.MouseMove(screen);
    PumpFor(40);
  }
  void ClickCell(int line, int column) {
    const ViewMetrics& m = Editor().Metrics();
    MoveTo(view->ClientToScreen(wxPoint(m.dividerX + m.textMargin + column * m.charWidth + m.charWidth / 2,
                                        m.textTop + line * m.lineHeight + m.lineHeight / 2)));
    sim.MouseClick();
    PumpFor(60);
  }
  CFindReplaceDlg* Dialog() const {
    for (wxWindow* window : wxTopLevelWindows) {
      if (auto* dialog = dynamic_cast<CFindReplaceDlg*>(window); dialog && dialog->IsShown()) return dialog;
    }
    return nullptr;
  }
  void ClickControl(int id) {
    wxWindow* control = Dialog()->FindWindow(id);
    ASSERT_NE(control, nullptr);
    const wxRect rect = control->GetScreenRect();
    MoveTo(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
    sim.MouseClick();
    PumpFor(100);
  }

  CMainFrame* frame = nullptr;
  CNomvarixView* view = nullptr;
  TempFolder folder;
  wxUIActionSimulator sim;
};

TEST_F(FindGuiTest, CtrlFSeedsTheDialogAndItsButtonsFindAndReplace) {
  ClickCell(0, 1);  // "b|anana.jpg"
  sim.Char(WXK_RIGHT, wxMOD_SHIFT);
  sim.Char(WXK_RIGHT, wxMOD_SHIFT);  // "an"
  PumpFor(60);
  sim.Char('F', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return Dialog() != nullptr; }));
  EXPECT_EQ(Dialog()->SearchText(), u"an");

  ClickControl(CFindReplaceDlg::kFindNext);  // a new search text: from the top
  EXPECT_EQ(Editor().Selection(), (BlockSelection{0, 0, 1, 3}));
  ClickControl(CFindReplaceDlg::kFindNext);
  EXPECT_EQ(Editor().Selection(), (BlockSelection{0, 0, 3, 5}));

  ClickControl(CFindReplaceDlg::kReplaceText);
  sim.Text("AN");
  PumpFor(100);
  ASSERT_EQ(Dialog()->ReplacementText(), u"AN");
  {
    EnterLater dismiss(sim);  // the "Replaced 3 occurrence(s)" message
    ClickControl(CFindReplaceDlg::kReplaceAll);
  }
  EXPECT_EQ(LineTexts(Editor().Names()), (Names{u"bANANa.jpg", u"cabANa.jpg", u"photo.png"}));
}

}  // namespace
}  // namespace nomvarix::test
