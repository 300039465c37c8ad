// Ctrl+F, the find dialog's buttons and Replace All with real key and mouse events.
#include <cstdio>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/modalhook.h>
#include <wx/progdlg.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "ShownDialog.h"
#include "EditorGuiFixture.h"
#include "MessageBoxAnswerer.h"
#include "support/NameListText.h"
#include "text/Utf16.h"
#include "view/FindReplaceDlg.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

class FindGuiTest : public EditorGuiFixture {
 protected:
  // A message box nobody answers would hold the test up to its time limit.
  MessageBoxAnswerer messageBoxes{wxID_OK};

  void TearDown() override {
    // The next test starts without a dialog, as a fresh program does.
    if (CFindReplaceDlg* dialog = Dialog()) dialog->Destroy();
    PumpUntil([&] { return Dialog() == nullptr; });
  }
  CFindReplaceDlg* Dialog() const { return test::ShownDialog<CFindReplaceDlg>(); }
  void ClickControl(int id) {
    wxWindow* control = Dialog()->FindWindow(id);
    ASSERT_NE(control, nullptr);
    ClickAt(*control, wxPoint(control->GetClientSize().x / 2, control->GetClientSize().y / 2));
  }
  /// Ctrl+F; the dialog then gets the keyboard, as a window manager would give it to a new window.
  void OpenDialog() {
    sim.Char('F', wxMOD_CONTROL);
    ASSERT_TRUE(PumpUntil([&] { return Dialog() != nullptr; }));
    Dialog()->Raise();
    ASSERT_TRUE(PumpUntil([&] { return Dialog()->IsActive(); }));
  }
  /// Opens the dialog and types the two fields' texts over whatever they hold.
  void FindAndReplaceWith(const char* text, const char* replacement) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ClickControl(CFindReplaceDlg::kFindText);
    sim.Char('A', wxMOD_CONTROL);
    sim.Text(text);
    ClickControl(CFindReplaceDlg::kReplaceText);
    sim.Text(replacement);
    ASSERT_TRUE(PumpUntil([&] {
      return Dialog()->SearchText() == FromUtf8(text) && Dialog()->ReplacementText() == FromUtf8(replacement);
    }));
  }
  /// The line that shows the file named `name` on disk.
  std::int32_t LineOf(std::u16string_view name) const {
    const NameList& names = Editor().Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i].originalName == name) return static_cast<std::int32_t>(i);
    }
    ADD_FAILURE() << "no line for the file";
    return 0;
  }
  std::u16string TextOf(std::u16string_view name) const {
    return Editor().Names()[static_cast<std::size_t>(LineOf(name))].lineText;
  }
};

TEST_F(FindGuiTest, CtrlFSeedsTheDialogAndItsButtonsFindAndReplace) {
  OpenFolderWith({"banana.jpg", "cabana.jpg", "photo.png"});
  ClickAt(CellPoint(0, 1));  // "b|anana.jpg"
  sim.Char(WXK_RIGHT, wxMOD_SHIFT);
  sim.Char(WXK_RIGHT, wxMOD_SHIFT);  // "an"
  ASSERT_TRUE(PumpUntil([&] { return Editor().Selection() == BlockSelection{0, 0, 1, 3}; }));
  ASSERT_NO_FATAL_FAILURE(OpenDialog());
  EXPECT_EQ(Dialog()->SearchText(), u"an");

  ClickControl(CFindReplaceDlg::kFindNext);  // a new search text: from the top
  EXPECT_TRUE(PumpUntil([&] { return Editor().Selection() == BlockSelection{0, 0, 1, 3}; }));
  ClickControl(CFindReplaceDlg::kFindNext);
  EXPECT_TRUE(PumpUntil([&] { return Editor().Selection() == BlockSelection{0, 0, 3, 5}; }));

  ClickControl(CFindReplaceDlg::kReplaceText);
  sim.Text("AN");
  ASSERT_TRUE(PumpUntil([&] { return Dialog()->ReplacementText() == u"AN"; }));
  ClickControl(CFindReplaceDlg::kReplaceAll);  // and its "Replaced 3 occurrence(s)" is answered
  ASSERT_TRUE(PumpUntil([&] { return messageBoxes.Messages().size() == 1; }));
  EXPECT_EQ(messageBoxes.Messages().front(), "Replaced 3 occurrence(s)");
  EXPECT_EQ(LineTexts(Editor().Names()), (Names{u"bANANa.jpg", u"cabANa.jpg", u"photo.png"}));
  EXPECT_FALSE(Editor().Selection().HasWidth());  // a plain caret at the last replacement
}

// On disk: "photo.jpg", "日記 photo😀.jpg" and "x<E9>a-a.png" with the byte E9 that is no UTF-8.
constexpr const char* kPhoto = "photo.jpg";
constexpr const char* kDiary = "\xE6\x97\xA5\xE8\xA8\x98 photo\xF0\x9F\x98\x80.jpg";
constexpr const char* kUndecodable = "x\xE9" "a-a.png";
constexpr std::u16string_view kDiary16 = u"\u65E5\u8A18 photo\U0001F600.jpg";
constexpr std::u16string_view kUndecodable16 = u"x\xDCE9" "a-a.png";

TEST_F(FindGuiTest, ReplaceLeavesASelectionThatDoesNotMatchAndReplacesTheNextMatch) {
  OpenFolderWith({kPhoto, kDiary, kUndecodable});
  const std::int32_t line = LineOf(u"photo.jpg");
  ClickAt(CellPoint(line, 0));
  for (int i = 0; i < 5; ++i) sim.Char(WXK_RIGHT, wxMOD_SHIFT);
  ASSERT_TRUE(PumpUntil([&] { return Editor().Selection() == BlockSelection{line, line, 0, 5}; }));  // "photo"
  FindAndReplaceWith("jpg", "X");

  ClickControl(CFindReplaceDlg::kReplace);
  ASSERT_TRUE(PumpUntil([&] { return TextOf(u"photo.jpg") != u"photo.jpg"; }));
  EXPECT_EQ(TextOf(u"photo.jpg"), u"photo.X");
  EXPECT_EQ(TextOf(kDiary16), kDiary16);
}

TEST_F(FindGuiTest, RepeatedReplaceWithOneCharacterWalksThroughTheMatches) {
  OpenFolderWith({kPhoto, kDiary, kUndecodable});
  ClickAt(CellPoint(0, 0));
  FindAndReplaceWith("a", "Q");
  for (const std::u16string_view undecodable : {u"x\xDCE9Q-a.png", u"x\xDCE9Q-Q.png"}) {
    ClickControl(CFindReplaceDlg::kReplace);
    ASSERT_TRUE(PumpUntil([&] { return TextOf(kUndecodable16) == undecodable; })) << ToUtf8(TextOf(kUndecodable16));
  }
  EXPECT_EQ(TextOf(kDiary16), kDiary16);
}

TEST_F(FindGuiTest, TheRegularExpressionBoxTickedByKeyboardReplacesWithGroups) {
  OpenFolderWith({"12_ab.jpg", "7_x.png", kUndecodable});
  ASSERT_NO_FATAL_FAILURE(OpenDialog());
  // The find field has the focus; then the replace field, "Match Case", "Whole Word" and the box.
  sim.Text("(\\d+)_(\\w+)");
  sim.Char(WXK_TAB);
  sim.Text("$2-$1");
  for (int i = 0; i < 3; ++i) sim.Char(WXK_TAB);
  sim.Char(' ');
  ASSERT_TRUE(PumpUntil([&] { return Dialog()->Options().regex; }));
  EXPECT_FALSE(Dialog()->Options().matchCase);
  EXPECT_FALSE(Dialog()->Options().wholeWord);
  EXPECT_EQ(Dialog()->SearchText(), u"(\\d+)_(\\w+)");
  EXPECT_EQ(Dialog()->ReplacementText(), u"$2-$1");

  ClickControl(CFindReplaceDlg::kReplaceAll);
  ASSERT_TRUE(PumpUntil([&] { return messageBoxes.Messages().size() == 1; }));
  EXPECT_EQ(messageBoxes.Messages().front(), "Replaced 2 occurrence(s)");
  EXPECT_EQ(TextOf(u"12_ab.jpg"), u"ab-12.jpg");
  EXPECT_EQ(TextOf(u"7_x.png"), u"x-7.png");
  EXPECT_EQ(TextOf(kUndecodable16), kUndecodable16);

  // A pattern that does not compile is reported and changes nothing.
  ClickControl(CFindReplaceDlg::kFindText);
  sim.Char('A', wxMOD_CONTROL);
  sim.Text("a(");
  ASSERT_TRUE(PumpUntil([&] { return Dialog()->SearchText() == u"a("; }));
  ClickControl(CFindReplaceDlg::kReplaceAll);
  ASSERT_TRUE(PumpUntil([&] { return messageBoxes.Messages().size() == 2; }));
  EXPECT_EQ(messageBoxes.Messages().back(), "Invalid regular expression: missing closing parenthesis at position 2");
  EXPECT_EQ(TextOf(kUndecodable16), kUndecodable16);
  EXPECT_EQ(TextOf(u"7_x.png"), u"x-7.png");
}

TEST_F(FindGuiTest, ACostlyReplaceAllShowsItsProgressAndItsCancelLeavesEveryName) {
  // The pattern backtracks on each of these names until its limit, as the "(" keeps $ away.
  std::vector<std::string> files;
  for (int i = 1; i <= 200; ++i) {
    char name[80];
    std::snprintf(name, sizeof name, "Holiday photos from the beach in Spain %05d (copy).jpg", i);
    files.push_back(name);
  }
  ASSERT_NO_FATAL_FAILURE(OpenFolderWith(files));
  view->Progress().SetTiming({.showDelay = {}, .updateInterval = {}});
  wxString title;
  std::size_t doneAtCancel = 0;
  view->Progress().SetPresentHook([&](WorkKind kind, std::size_t done, wxProgressDialog& dialog) {
    if (kind != WorkKind::ReplacingAll || doneAtCancel > 0 || done < 3) return;
    title = dialog.GetTitle();
    doneAtCancel = done;
    ClickCancel(dialog);
  });
  FindAndReplaceWith("^(\\w+\\s?)+$", "x");
  for (int i = 0; i < 3; ++i) sim.Char(WXK_TAB);  // "Match Case", "Whole Word", then the box
  sim.Char(' ');
  ASSERT_TRUE(PumpUntil([&] { return Dialog()->Options().regex; }));
  ClickControl(CFindReplaceDlg::kReplaceAll);
  ASSERT_TRUE(PumpUntil([&] { return doneAtCancel > 0; }));
  view->Progress().SetTiming({});
  view->Progress().SetPresentHook({});
  EXPECT_EQ(title, "Replace All");
  EXPECT_LT(doneAtCancel, files.size());
  for (const NameEntry& entry : Editor().Names()) EXPECT_EQ(entry.lineText, entry.originalName);
  EXPECT_TRUE(messageBoxes.Messages().empty());
}

}  // namespace
}  // namespace nomvarix::test
