// The whole round trip with the running program: new names typed with real keys, "Apply" pressed
// on the strip and the dialog confirmed with the mouse, the files checked on disk; then "Revert"
// and "Apply" again.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

#include "DialogConfirmer.h"
#include "EditorGuiFixture.h"
#include "MessageBoxAnswerer.h"
#include "controls/WxText.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
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

using ChainedApplyGuiTest = EditorGuiFixture;

// A numbering shifted by one: every new name but the last is the name of the next file now.
TEST_F(ChainedApplyGuiTest, ShiftedNumberingIsAppliedWholeWithVerifyFirstOn) {
  std::vector<std::string> files;
  for (int i = 1; i <= 400; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "photo_%03d.jpg", i);
    files.push_back(name);
  }
  OpenFolderWith(files);
  GuiTestEnvironment::Get().App().Settings().WriteFlag(settings::kVerify, true);
  FocusEditor();
  // The example "002" on the first line, then its three digits selected on every line.
  ClickAt(CellPoint(0, 8));
  Key(WXK_RIGHT, wxMOD_SHIFT);
  TypeText("2");
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[0].newName == u"photo_002.jpg"; }));
  ClickAt(RulerPoint(6));
  WaitOutDoubleClick();
  sim.MouseDown();
  Settle();
  MoveTo(RulerPoint(8));
  MoveTo(RulerPoint(9));
  sim.MouseUp();
  Settle();
  ASSERT_EQ(Editor().Selection(), (BlockSelection{0, 399, 6, 9}));
  wxCommandEvent number(wxEVT_MENU, cmd::MenuIdOf(cmd::kSmartNumberings));
  number.SetEventObject(frame);
  frame->ProcessWindowEvent(number);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[399].newName == u"photo_401.jpg"; }));

  DialogConfirmer confirmer(sim);
  ClickStripButton(strip::kApply);
  ASSERT_TRUE(PumpUntil([&] { return std::filesystem::exists(std::filesystem::path(folder.Path()) / "photo_401.jpg"); }));
  EXPECT_TRUE(PumpUntil([&] { return !Editor().AnyNameChanged() && Editor().LineCount() == 400; }));
  EXPECT_EQ(confirmer.Summary(), "400 renames, 399 of them in one chain.");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder.Path()) / "photo_001.jpg"));
  EXPECT_EQ(DiskNames().size(), 400u);
  EXPECT_EQ(DiskNames().front(), "photo_002.jpg");
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Renamed 400 files, skipped 0.");
}

}  // namespace
}  // namespace nomvarix::test
