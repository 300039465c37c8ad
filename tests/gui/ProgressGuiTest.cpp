// A long apply in the running program: its progress dialog shows, a real click on its Cancel
// stops it, and what it did is on disk and recorded for "Revert" while the rest keeps its edits.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/progdlg.h>

#include "DialogConfirmer.h"
#include "EditorGuiFixture.h"
#include "MessageBoxAnswerer.h"
#include "session/EditorSession.h"
#include "text/Utf16.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::string>;

class ProgressGuiTest : public EditorGuiFixture {
 protected:
  void TearDown() override {
    view->Progress().SetTiming({});
    view->Progress().SetPresentHook({});
  }

  void AddFiles(int files) {
    for (int i = 0; i < files; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "f%02d.txt", i);
      folder.AddFile(name);
    }
  }
  void OpenFolderOf(int files) {
    AddFiles(files);
    ASSERT_TRUE(frame->SelectPath(folder.Path16()));
    view->Refresh();
    view->Update();
    ASSERT_TRUE(PumpUntil([&] { return Editor().LineCount() == static_cast<std::size_t>(files) && Editor().Metrics().dividerX > 0; }));
  }
};

TEST_F(ProgressGuiTest, CancelStopsALongApplyWithItsRenamesRecordedAndNothingLost) {
  constexpr int kFiles = 40;
  OpenFolderOf(kFiles);
  FocusEditor();
  ClickAt(RulerPoint(0));  // a column caret over every line
  TypeText("n");
  ASSERT_TRUE(PumpUntil([&] {
    for (const NameEntry& entry : Editor().Names()) {
      if (entry.newName != u"n" + entry.originalName) return false;
    }
    return true;
  }));

  // Shown at once, and cancelled by the user once a few files are renamed.
  view->Progress().SetTiming({.showDelay = {}, .updateInterval = {}});
  wxString title;
  std::size_t doneAtCancel = 0;
  view->Progress().SetPresentHook([&](WorkKind kind, std::size_t done, wxProgressDialog& dialog) {
    if (kind != WorkKind::Renaming || doneAtCancel > 0 || done < 3) return;
    title = dialog.GetTitle();
    doneAtCancel = done;
    ClickCancel(dialog);
  });
  MessageBoxAnswerer ok(wxID_OK);
  {
    DialogConfirmer confirmer(sim);
    ClickStripButton(strip::kApply);
    ASSERT_TRUE(PumpUntil([&] { return view->ButtonStrip().Find(strip::kRevert)->visible; }));
  }
  EXPECT_EQ(title, "Apply Changes");
  EXPECT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == view; })) << "the keys go to the editor again";
  ASSERT_GE(doneAtCancel, 3u);
  ASSERT_LT(doneAtCancel, static_cast<std::size_t>(kFiles));
  EXPECT_TRUE(ok.Messages().empty()) << "nothing was skipped";

  // Exactly the lines done were renamed; the others wait with their edits.
  Names expected;
  for (int i = 0; i < kFiles; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "f%02d.txt", i);
    expected.push_back(static_cast<std::size_t>(i) < doneAtCancel ? std::string("n") + name : name);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(DiskNames(), expected);
  ASSERT_EQ(Editor().LineCount(), static_cast<std::size_t>(kFiles));
  std::size_t waiting = 0;
  for (const NameEntry& entry : Editor().Names()) {
    EXPECT_FALSE(entry.errorMark);
    if (entry.originalName.front() == u'n') {
      EXPECT_EQ(entry.newName, entry.originalName);
    } else {
      EXPECT_EQ(entry.newName, u"n" + entry.originalName);
      ++waiting;
    }
  }
  EXPECT_EQ(waiting, kFiles - doneAtCancel);

  // "Revert" offers the renamed files under their former names; the others keep their edits.
  view->Progress().SetPresentHook({});
  ClickStripButton(strip::kRevert);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names().back().newName == Editor().Names().back().originalName.substr(1); }));
  ASSERT_EQ(Editor().LineCount(), static_cast<std::size_t>(kFiles));
  for (const NameEntry& entry : Editor().Names()) {
    if (entry.originalName.front() == u'n') {
      EXPECT_EQ(u"n" + entry.newName, entry.originalName);
    } else {
      EXPECT_EQ(entry.newName, u"n" + entry.originalName);
    }
  }
}

TEST_F(ProgressGuiTest, ACancelledFolderLoadShowsAnEmptyEditor) {
  AddFiles(40);
  view->Progress().SetTiming({.showDelay = {}, .updateInterval = {}});
  wxString title;
  bool cancelled = false;
  view->Progress().SetPresentHook([&](WorkKind kind, std::size_t, wxProgressDialog& dialog) {
    if (kind != WorkKind::LoadingFolder || cancelled) return;
    title = dialog.GetTitle();
    cancelled = true;
    ClickCancel(dialog);
  });
  ASSERT_TRUE(frame->SelectPath(folder.Path16()));
  ASSERT_TRUE(PumpUntil([&] { return cancelled && Editor().CurrentFolder().empty(); }));
  EXPECT_EQ(title, "Loading Folder");
  EXPECT_EQ(Editor().LineCount(), 0u);
}

}  // namespace
}  // namespace nomvarix::test
