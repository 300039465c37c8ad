// What only the running program shows of validating and filtering: the list of every problem, which
// takes the caret to the line chosen, and the filter named in the status bar wherever it hides files.
#include <string>

#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/modalhook.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "ShownDialog.h"
#include "EditorGuiFixture.h"
#include "controls/WxText.h"
#include "MenuCommands.h"
#include "resources/CommandIds.h"
#include "text/Utf16.h"
#include "view/ExtFilterDlg.h"
#include "view/ValidationReportDlg.h"

namespace nomvarix::test {
namespace {

/// While the problem list shows: clicks one row with the mouse, notes what was chosen and where
/// the caret went, and closes the list.
class ProblemChooser final : public wxTimer {
 public:
  ProblemChooser(wxUIActionSimulator& sim, const NameEditor& editor, long row) : sim_(sim), editor_(editor), row_(row) {
    Start(100);
  }

  long rows = -1;
  long chosen = -1;
  std::int32_t caretLine = -1;

  void Notify() override {
    CValidationReportDlg* dialog = ShownDialog();
    if (!dialog) return;
    auto* list = dynamic_cast<wxListCtrl*>(dialog->FindWindow(CValidationReportDlg::kProblemList));
    if (!list) return;
    if (!clicked_) {
      rows = list->GetItemCount();
      list->EnsureVisible(row_);
      wxRect rect;
      list->GetItemRect(row_, rect);
      sim_.MouseMove(list->ClientToScreen(wxPoint(rect.GetLeft() + 20, rect.GetTop() + rect.GetHeight() / 2)));
      Settle();
      sim_.MouseClick();
      clicked_ = true;
      return;
    }
    chosen = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (chosen < 0) return;
    caretLine = editor_.Caret().line;
    Stop();
    dialog->EndModal(wxID_OK);
  }

 private:
  static CValidationReportDlg* ShownDialog() { return test::ShownDialog<CValidationReportDlg>(); }

  wxUIActionSimulator& sim_;
  const NameEditor& editor_;
  const long row_;
  bool clicked_ = false;
};

/// Fills in the filter dialog with an extension list and applies it, as a user would.
class FilterTyper final : public wxModalDialogHook {
 public:
  explicit FilterTyper(wxString extensions) : extensions_(std::move(extensions)) { Register(); }
  ~FilterTyper() override { Unregister(); }

 protected:
  int Enter(wxDialog* dialog) override {
    if (!dynamic_cast<CExtFilterDlg*>(dialog)) return wxID_NONE;
    static_cast<wxTextCtrl*>(dialog->FindWindow(CExtFilterDlg::kExtensions))->SetValue(extensions_);
    return wxID_OK;
  }
  void Exit(wxDialog*) override {}

 private:
  wxString extensions_;
};

using ValidationAndFilterGuiTest = EditorGuiFixture;

TEST_F(ValidationAndFilterGuiTest, EveryProblemIsListedAndChoosingOneGoesToItsLine) {
  for (int i = 0; i < 60; ++i) folder.AddFile("été " + std::to_string(100 + i) + ".jpg");
  ASSERT_TRUE(frame->SelectPath(folder.Path16()));
  ASSERT_TRUE(PumpUntil([&] { return Editor().LineCount() == 60 && Editor().Metrics().dividerX > 0; }));
  FocusEditor();
  IssueMenuCommand(*frame, cmd::kSelectAll);
  sim.Char(WXK_DELETE);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[59].newName.empty(); }));
  sim.Char('x');  // every name becomes "x": each line after the first is a duplicate
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[59].newName == u"x"; }));

  ProblemChooser chooser(sim, Editor(), 45);
  IssueMenuCommand(*frame, cmd::kValidateChanges);
  EXPECT_EQ(chooser.rows, 59);
  ASSERT_GE(chooser.chosen, 40);  // the row clicked, or one beside it
  EXPECT_EQ(chooser.caretLine, chooser.chosen + 1);
  EXPECT_EQ(Editor().Caret().line, chooser.chosen + 1);
  const std::int32_t top = Editor().TopLine();
  EXPECT_TRUE(Editor().Caret().line >= top && Editor().Caret().line < top + Editor().VisibleLineCount());
}

TEST_F(ValidationAndFilterGuiTest, AFilterCarriedToAnotherFolderIsNamedInTheStatusBar) {
  OpenFolderWith({"chanson 1.flac", "chanson 2.flac", "日記.txt"});
  {
    FilterTyper typer("mp3");
    IssueMenuCommand(*frame, cmd::kSetFilter);
  }
  ASSERT_TRUE(PumpUntil([&] { return Editor().LineCount() == 0; }));
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Filter: mp3 (3 of 3 files hidden)");
  ASSERT_TRUE(frame->SelectPath(FromUtf8(GuiTestEnvironment::Get().OtherFolder())));
  ASSERT_TRUE(PumpUntil([&] { return Editor().CurrentFolder() != folder.Path16(); }));
  EXPECT_TRUE(FromWx(frame->GetStatusBar()->GetStatusText(0)).starts_with(u"Filter: mp3 ("));
  {
    FilterTyper typer("");
    IssueMenuCommand(*frame, cmd::kSetFilter);
  }
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Filter removed.");
}

}  // namespace
}  // namespace nomvarix::test
