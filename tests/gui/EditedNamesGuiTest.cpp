// What reaches the disk is exactly what the user typed, in the running program: names of lines
// nobody touched survive undo, the ".ext" and "Name" views rename to what they show, and an edit
// inside an emoji never writes another character.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "DialogConfirmer.h"
#include "EditorGuiFixture.h"
#include "view/ViewStrips.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::string>;

class EditedNamesGuiTest : public EditorGuiFixture {
 protected:
  void Open(std::initializer_list<const char*> files) {
    ASSERT_NO_FATAL_FAILURE(OpenFolderWith(files));
    ASSERT_NO_FATAL_FAILURE(FocusEditor());
  }

  /// The line of the file named `original` (UTF-8) on disk.
  int LineOf(const std::string& original) const {
    const NameList& names = Editor().Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (std::filesystem::path(std::u16string(names[i].originalName)).string() == original) return static_cast<int>(i);
    }
    ADD_FAILURE() << original << " is not listed";
    return 0;
  }

  /// Presses "Apply", confirms, and waits until the disk holds `expected`.
  void ApplyAndExpect(Names expected) {
    std::sort(expected.begin(), expected.end());
    DialogConfirmer confirmer(sim);
    ClickStripButton(strip::kApply);
    EXPECT_TRUE(PumpUntil([&] { return DiskNames() == expected; })) << "the disk holds " << testing::PrintToString(DiskNames());
  }
};

TEST_F(EditedNamesGuiTest, UndoLeavesAccentedNamesOfOtherLinesAsTheyWere) {
  Open({"caf\xC3\xA9.txt", "notes.txt", "\xE6\x97\xA5\xE8\xA8\x98.txt"});
  ClickAt(CellPoint(LineOf("notes.txt"), 0));
  TypeText("x");
  Key('Z', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return !Editor().CanUndo(); }));
  for (const NameEntry& entry : Editor().Names()) EXPECT_EQ(entry.newName, entry.originalName);
  EXPECT_FALSE(Editor().AnyNameChanged());

  WaitOutDoubleClick();  // the same cell again: a new click, not a double click
  ClickAt(CellPoint(LineOf("notes.txt"), 0));
  TypeText("y");
  ApplyAndExpect({"caf\xC3\xA9.txt", "ynotes.txt", "\xE6\x97\xA5\xE8\xA8\x98.txt"});
}

TEST_F(EditedNamesGuiTest, TheExtensionViewRenamesToWhatItShows) {
  Open({"README", "x.gz"});
  ClickStripButton(view->ScopeStrip(), strip::kName);
  ASSERT_EQ(Editor().Scope(), EditScope::Extension);
  ClickAt(CellPoint(LineOf("README"), 0));
  TypeText("md");
  ClickAt(CellPoint(LineOf("x.gz"), 1));
  TypeText("tar.");
  Key(WXK_END);
  TypeText("2");
  ASSERT_EQ(Editor().Names()[LineOf("x.gz")].lineText, u".tar.gz2");
  ApplyAndExpect({"READMEmd", "x.tar.gz2"});
}

TEST_F(EditedNamesGuiTest, TheNameViewRenamesToWhatItShows) {
  Open({"noext"});
  ClickStripButton(view->ScopeStrip(), strip::kExtension);
  ASSERT_EQ(Editor().Scope(), EditScope::BaseName);
  ClickAt(CellPoint(0, 0));
  Key(WXK_END);
  ASSERT_TRUE(wxTheClipboard->Open());
  wxTheClipboard->SetData(new wxTextDataObject(".v2"));
  wxTheClipboard->Close();
  Key('V', wxMOD_CONTROL);
  TypeText("z");
  ASSERT_EQ(Editor().Names()[0].lineText, u"noext.v2z");
  ApplyAndExpect({"noext.v2z"});
}

TEST_F(EditedNamesGuiTest, DeletingHalfAnEmojiDeletesTheEmoji) {
  // An emoji, a byte that is no UTF-8, and "a".
  Open({"\xF0\x9F\x98\x80\x80" "a"});
  ClickAt(CellPoint(0, 0));
  Key(WXK_END);
  Key(WXK_LEFT);
  Key(WXK_LEFT);
  ASSERT_EQ(Editor().Caret(), (TextPos{0, 2}));
  Key(WXK_BACK);
  ApplyAndExpect({"\x80" "a"});
}

}  // namespace
}  // namespace nomvarix::test
