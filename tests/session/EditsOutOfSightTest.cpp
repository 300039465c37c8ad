// Edits of lines the user cannot see for a while: lines a filter hides, and the lines of a folder
// that another program took away while it was open.
#include <memory>

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"
#include "support/TempFolder.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;
using test::NewNames;
using test::OriginalNames;

const Names kFiles = {u"Dächer 1.jpg", u"Dächer 2.JPG", u"notes 日記.txt", u"\xDC80 raw.png", u"clip 😀.mp4"};

class EditsOutOfSightTest : public ::testing::Test {
 protected:
  EditsOutOfSightTest() {
    AddFiles(u"/f/", kFiles);
    AddFiles(u"/g/", {u"ß.txt"});
  }
  /// Files with a size and times, as a real file system shows them.
  void AddFiles(const std::u16string& folder, const Names& names) {
    fs.AddFolder(folder, {});
    for (const std::u16string& name : names) {
      ++time;
      fs.AddFile(folder + name, {10, time, time});
    }
  }
  std::unique_ptr<EditorSession> Run() {
    auto session = std::make_unique<EditorSession>(fs, settings);
    session->SetKeptEditsFolder(state.Path16());
    return session;
  }
  /// Every line of the session gets "~" before its extension's dot, as one undo step.
  static void EditEveryLine(EditorSession& session) {
    session.Editor().PushUndo();
    for (std::size_t line = 0; line < session.Editor().LineCount(); ++line) {
      std::u16string name = session.Editor().Names()[line].originalName;
      session.Editor().SetNewName(line, name.insert(name.rfind(u'.'), u"~"));
    }
  }

  test::FakeFileSystem fs;
  std::int64_t time = 1'000'000;
  MemorySettingsStore settings;
  test::TempFolder state;
};

// In the order the lines show them: by extension, upper case first.
const Names kEdited = {u"Dächer 2~.JPG", u"Dächer 1~.jpg", u"clip 😀~.mp4", u"\xDC80 raw~.png", u"notes 日記~.txt"};

TEST_F(EditsOutOfSightTest, AFilterHidesEditsWithoutDroppingThemWhateverHappensMeanwhile) {
  auto session = Run();
  session->SwitchToFolder(u"/f/");
  EditEveryLine(*session);
  // As the filter dialog does: the edits are saved first.
  session->SavePendingEdits();
  session->SetFilter(u"jpg", u"");
  EXPECT_EQ(NewNames(session->Editor().Names()), (Names{u"Dächer 2~.JPG", u"Dächer 1~.jpg"}));
  // What happens while they are hidden: another folder and back, a sort (upper case no longer
  // first), a write of the kept edits.
  session->SwitchToFolder(u"/g/");
  session->SwitchToFolder(u"/f/");
  session->ToggleSortCaseSensitive();
  EXPECT_TRUE(session->WriteKeptEdits());
  session->Editor().SetNewName(0, u"Dach.jpg");
  session->SavePendingEdits();
  session->SetFilter(u"", u"");
  EXPECT_EQ(NewNames(session->Editor().Names()),
            (Names{u"Dach.jpg", u"Dächer 2~.JPG", u"clip 😀~.mp4", u"\xDC80 raw~.png", u"notes 日記~.txt"}));

  // The kept edits held the hidden lines too.
  auto next = Run();
  next->SwitchToFolder(u"/f/");
  EXPECT_EQ(NewNames(next->Editor().Names()),
            (Names{u"Dächer 1~.jpg", u"Dächer 2~.JPG", u"clip 😀~.mp4", u"\xDC80 raw~.png", u"notes 日記~.txt"}));
}

TEST_F(EditsOutOfSightTest, ApplyWithAFilterRenamesTheShownLinesAndCountsTheHiddenEdits) {
  auto session = Run();
  session->SwitchToFolder(u"/f/");
  EditEveryLine(*session);
  session->SavePendingEdits();
  session->SetFilter(u"", u"Dächer");
  const ApplyOutcome outcome = session->ApplyChanges(false, false);
  EXPECT_EQ(outcome.renamed, 2u);
  EXPECT_EQ(outcome.hiddenEdits, 3u);
  EXPECT_EQ(AppliedStatusText(outcome),
            u"Renamed 2 files, skipped 0. 3 lines hidden by the filter keep their edits, not applied.");
  EXPECT_EQ(AppliedStatusText({.renamed = 1, .hiddenEdits = 1}),
            u"Renamed 1 file, skipped 0. 1 line hidden by the filter keeps its edit, not applied.");
  EXPECT_EQ(fs.FileNames(u"/f/"), (Names{u"Dächer 1~.jpg", u"Dächer 2~.JPG", u"notes 日記.txt", u"\xDC80 raw.png", u"clip 😀.mp4"}));
  session->SavePendingEdits();
  session->SetFilter(u"", u"");
  EXPECT_EQ(OriginalNames(session->Editor().Names()),
            (Names{u"Dächer 2~.JPG", u"Dächer 1~.jpg", u"clip 😀.mp4", u"\xDC80 raw.png", u"notes 日記.txt"}));
  EXPECT_EQ(NewNames(session->Editor().Names()), kEdited);
}

// The folder renamed by another program before the apply, or taken away half way through it.
TEST_F(EditsOutOfSightTest, AFolderThatCannotBeReadAgainKeepsItsLinesEditsAndUndo) {
  const struct {
    const char* when;
    bool duringApply;
    ApplyOutcome::Kind kind;
  } cases[] = {
      {"before the apply", false, ApplyOutcome::Kind::FolderUnreadable},
      {"during the apply", true, ApplyOutcome::Kind::Applied},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.when);
    auto session = Run();
    session->SwitchToFolder(u"/f/");
    EditEveryLine(*session);
    ASSERT_TRUE(session->WriteKeptEdits());
    if (c.duringApply) {
      fs.beforeRename = [&](std::u16string_view, std::u16string_view) { fs.MoveFolder(u"/f/", u"/moved/"); };
    } else {
      fs.MoveFolder(u"/f/", u"/moved/");
    }
    const ApplyOutcome outcome = session->ApplyChanges(false, false);
    fs.beforeRename = nullptr;
    EXPECT_EQ(outcome.kind, c.kind);
    EXPECT_EQ(outcome.folderLost, c.duringApply);
    EXPECT_EQ(session->Editor().CurrentFolder(), u"/f/");
    EXPECT_EQ(NewNames(session->Editor().Names()), kEdited);
    EXPECT_TRUE(session->Editor().CanUndo());
    EXPECT_TRUE(session->WriteKeptEdits());

    // Back under its name, the folder shows its edits in the next run.
    fs.MoveFolder(u"/moved/", u"/f/");
    auto next = Run();
    next->SwitchToFolder(u"/f/");
    EXPECT_EQ(NewNames(next->Editor().Names()), kEdited);
  }
  EXPECT_EQ(FolderUnreadableMessage(u"/f/"), u"The folder /f/ is gone or cannot be read. Its lines and edits are kept.");
}

}  // namespace
}  // namespace nomvarix
