// The "Name" and ".ext" boxes clicked with the mouse in the running program, then every way of
// loading the folder again: the boxes must show the scope the lines are in.
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <gtest/gtest.h>

#include "EditorGuiFixture.h"
#include "resources/CommandIds.h"
#include "MenuCommands.h"
#include "text/Utf16.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

/// Answers every modal dialog of the program with its affirmative button.
class AffirmingHook final : public wxModalDialogHook {
 public:
  AffirmingHook() { Register(); }
  ~AffirmingHook() override { Unregister(); }

 protected:
  int Enter(wxDialog* dialog) override { return dynamic_cast<wxMessageDialog*>(dialog) ? wxID_YES : wxID_OK; }
  void Exit(wxDialog*) override {}
};

class ScopeBoxesGuiTest : public EditorGuiFixture {
 protected:
  void SetUp() override {
    EditorGuiFixture::SetUp();
    OpenFolderWith({"alpha.txt", "beta.txt"});
  }

  bool Checked(int id) const { return view->ScopeStrip().Find(id)->checked; }

  /// Unchecks "Name" with the mouse: the lines show the extensions.
  void UncheckName() {
    ClickStripButton(view->ScopeStrip(), strip::kName);
    ASSERT_TRUE(PumpUntil([&] { return Editor().Scope() == EditScope::Extension; }));
    ASSERT_FALSE(Checked(strip::kName));
    ASSERT_TRUE(Checked(strip::kExtension));
  }

  void Issue(int command) { IssueMenuCommand(*frame, command); }

  /// After a load: whole names and both boxes checked.
  void ExpectWholeNamesAndBothBoxes(const char* path) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Editor().LineCount(), 2u);
    EXPECT_EQ(Editor().Scope(), EditScope::WholeName);
    EXPECT_TRUE(Checked(strip::kName));
    EXPECT_TRUE(Checked(strip::kExtension));
  }

  AffirmingHook answers;
};

TEST_F(ScopeBoxesGuiTest, EveryLoadChecksBothBoxesAgain) {
  const std::u16string here = folder.Path16();
  UncheckName();
  ASSERT_TRUE(frame->SelectPath(FromUtf8(GuiTestEnvironment::Get().OtherFolder())));
  ASSERT_TRUE(frame->SelectPath(here));
  ExpectWholeNamesAndBothBoxes("folder change");

  for (const int sort : {cmd::kSortCaseSensitive, cmd::kSortByFileName, cmd::kSortByFileType}) {
    UncheckName();
    Issue(sort);
    ExpectWholeNamesAndBothBoxes("sort command");
  }
  for (const int reload : {cmd::kReload, cmd::kResetAndReload}) {
    UncheckName();
    Issue(reload);
    ExpectWholeNamesAndBothBoxes("reload");
  }
  // Setting a filter keeps the scope the names are shown in.
  UncheckName();
  Issue(cmd::kSetFilter);
  EXPECT_EQ(Editor().LineCount(), 2u);
  EXPECT_EQ(Editor().Scope(), EditScope::Extension);
  EXPECT_FALSE(Checked(strip::kName));
  EXPECT_TRUE(Checked(strip::kExtension));
  ClickStripButton(view->ScopeStrip(), strip::kName);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Scope() == EditScope::WholeName; }));

  // An extension typed in the extension scope, then applied.
  UncheckName();
  ClickAt(CellPoint(0, 4));
  sim.Text("x");
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[0].newName == u"alpha.txtx"; }));
  Issue(cmd::kApplyChanges);
  ExpectWholeNamesAndBothBoxes("apply");

  // The first revert shows the renamed files in the scope the editor is in; the second reloads.
  UncheckName();
  Issue(cmd::kRevertLastChanges);
  ASSERT_TRUE(Editor().AnyNameChanged());
  EXPECT_EQ(Editor().Scope(), EditScope::Extension);
  EXPECT_FALSE(Checked(strip::kName));
  EXPECT_TRUE(Checked(strip::kExtension));
  Issue(cmd::kRevertLastChanges);
  ExpectWholeNamesAndBothBoxes("revert");
}

}  // namespace
}  // namespace nomvarix::test
