// Ctrl+F, the find dialog's buttons and Replace All with real key and mouse events.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "EditorGuiFixture.h"
#include "MessageBoxAnswerer.h"
#include "support/NameListText.h"
#include "view/FindReplaceDlg.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

/// Presses Enter once, a moment after it is started: for a message box that a click opened.
class FindGuiTest : public EditorGuiFixture {
 protected:
  void SetUp() override {
    EditorGuiFixture::SetUp();
    OpenFolderWith({"banana.jpg", "cabana.jpg", "photo.png"});
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
    ClickAt(*control, wxPoint(control->GetClientSize().x / 2, control->GetClientSize().y / 2));
  }
};

TEST_F(FindGuiTest, CtrlFSeedsTheDialogAndItsButtonsFindAndReplace) {
  ClickAt(CellPoint(0, 1));  // "b|anana.jpg"
  sim.Char(WXK_RIGHT, wxMOD_SHIFT);
  sim.Char(WXK_RIGHT, wxMOD_SHIFT);  // "an"
  Settle();
  sim.Char('F', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return Dialog() != nullptr; }));
  EXPECT_EQ(Dialog()->SearchText(), u"an");

  ClickControl(CFindReplaceDlg::kFindNext);  // a new search text: from the top
  EXPECT_EQ(Editor().Selection(), (BlockSelection{0, 0, 1, 3}));
  ClickControl(CFindReplaceDlg::kFindNext);
  EXPECT_EQ(Editor().Selection(), (BlockSelection{0, 0, 3, 5}));

  ClickControl(CFindReplaceDlg::kReplaceText);
  sim.Text("AN");
  ASSERT_TRUE(PumpUntil([&] { return Dialog()->ReplacementText() == u"AN"; }));
  {
    MessageBoxAnswerer ok(wxID_OK);
    ClickControl(CFindReplaceDlg::kReplaceAll);
    EXPECT_EQ(ok.Messages(), std::vector<wxString>{"Replaced 3 occurrence(s)"});
  }
  EXPECT_EQ(LineTexts(Editor().Names()), (Names{u"bANANa.jpg", u"cabANa.jpg", u"photo.png"}));
}

}  // namespace
}  // namespace nomvarix::test
