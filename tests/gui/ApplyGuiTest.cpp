// The whole round trip with the running program: new names typed with real keys, "Apply" pressed
// on the strip and the dialog confirmed with the mouse, the files checked on disk; then "Revert"
// and "Apply" again.
#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "DialogConfirmer.h"
#include "EditorGuiFixture.h"
#include "MessageBoxAnswerer.h"
#include "controls/WxText.h"
#include "resources/CommandIds.h"
#include "session/EditorSession.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::string>;

class ApplyGuiTest : public EditorGuiFixture {
 protected:
  void SetUp() override {
    EditorGuiFixture::SetUp();
    OpenFolderWith({"alpha.txt", "beta.txt"});
  }


  /// "Revert Last Changes" from the File menu.
  void Revert() {
    wxCommandEvent event(wxEVT_MENU, cmd::MenuIdOf(cmd::kRevertLastChanges));
    event.SetEventObject(frame);
    frame->ProcessWindowEvent(event);
  }
  /// Leaves no revert armed, whatever an earlier test in this program left: a press that shows a
  /// message disarms it, a press that shows none arms an empty one, which the next press disarms.
  void DisarmRevert() {
    for (int press = 0; press < 2; ++press) {
      MessageBoxAnswerer ok(wxID_OK);
      Revert();
      if (!ok.Messages().empty()) return;
    }
  }
};

TEST_F(ApplyGuiTest, TypedNamesReachTheDiskAndRevertPutsThemBack) {
  ClickAt(CellPoint(0, 0));  // "alpha.txt"
  sim.Text("new_");
  Settle();
  ClickAt(CellPoint(1, 0));  // "beta.txt"
  sim.Char(WXK_DELETE);
  Settle();
  ASSERT_EQ(view->Session().Editor().Names()[1].newName, u"eta.txt");

  {
    DialogConfirmer confirmer(sim);
    ClickStripButton(strip::kApply);
    ASSERT_TRUE(PumpUntil([&] { return DiskNames() == Names{"eta.txt", "new_alpha.txt"}; }));
    EXPECT_EQ(confirmer.Confirmed(), 1);
  }
  ASSERT_TRUE(PumpUntil([&] { return view->ButtonStrip().Find(strip::kRevert)->visible; }));
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Renamed 2 files, skipped 0.");
  ClickStripButton(strip::kRevert);
  ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().LineCount() == 2 && view->Session().Editor().AnyNameChanged(); }));

  DialogConfirmer confirmer(sim);
  ClickStripButton(strip::kApply);
  EXPECT_TRUE(PumpUntil([&] { return DiskNames() == Names{"alpha.txt", "beta.txt"}; }));
}

TEST_F(ApplyGuiTest, RevertKeepsWhatWasTypedSinceTheApply) {
  ClickAt(CellPoint(0, 0));  // "alpha.txt"
  sim.Text("new_");
  Settle();
  {
    DialogConfirmer confirmer(sim);
    ClickStripButton(strip::kApply);
    ASSERT_TRUE(PumpUntil([&] { return DiskNames() == Names{"beta.txt", "new_alpha.txt"}; }));
  }
  ASSERT_TRUE(PumpUntil([&] { return view->ButtonStrip().Find(strip::kRevert)->visible; }));
  ASSERT_EQ(Editor().Names()[0].originalName, u"beta.txt");
  ClickAt(CellPoint(0, 0));
  sim.Text("X");
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[0].newName == u"Xbeta.txt"; }));

  ClickStripButton(strip::kRevert);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[1].newName == u"alpha.txt"; }));
  EXPECT_EQ(Editor().LineCount(), 2u);
  EXPECT_EQ(Editor().Names()[0].newName, u"Xbeta.txt");
  DialogConfirmer confirmer(sim);
  ClickStripButton(strip::kApply);
  EXPECT_TRUE(PumpUntil([&] { return DiskNames() == Names{"Xbeta.txt", "alpha.txt"}; }));
}

TEST_F(ApplyGuiTest, RevertWithNothingToRevertAsksBeforeItDropsTypedNames) {
  DisarmRevert();
  ClickAt(CellPoint(0, 0));
  sim.Text("x");
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[0].newName == u"xalpha.txt"; }));

  {
    MessageBoxAnswerer no(wxID_NO);
    Revert();
    EXPECT_EQ(no.Messages(), std::vector<wxString>{ToWx(kReloadQuestion)});
  }
  EXPECT_EQ(Editor().Names()[0].newName, u"xalpha.txt");

  MessageBoxAnswerer yes(wxID_YES);
  Revert();
  EXPECT_EQ(yes.Messages(), std::vector<wxString>{ToWx(kReloadQuestion)});
  EXPECT_FALSE(Editor().AnyNameChanged());
  EXPECT_EQ(DiskNames(), (Names{"alpha.txt", "beta.txt"}));
}

}  // namespace
}  // namespace nomvarix::test
