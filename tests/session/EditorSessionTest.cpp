#include "session/EditorSession.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "transform/FileTextInsertion.h"
#include "platform/SettingKeys.h"
#include "support/FakeClipboard.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;
using test::NewNames;
using test::OriginalNames;

class EditorSessionTest : public ::testing::Test {
 protected:
  EditorSessionTest() {
    fs.AddFolder(u"/f/", {u"b.txt", u"a.png", u"C.jpg"});
    fs.AddFolder(u"/g/", {u"other.txt"});
  }

  test::FakeFileSystem fs;
  MemorySettingsStore settings;
};

TEST_F(EditorSessionTest, ReadsTheSortAndCheckSettingsOnce) {
  settings.WriteInteger(settings::kSortByExtension, 7);
  settings.WriteInteger(settings::kSortCaseSensitive, 0);
  settings.WriteInteger(settings::kCheckConflict, 0);
  EditorSession session(fs, settings);
  EXPECT_TRUE(session.SortByExtension());
  EXPECT_FALSE(session.SortCaseSensitive());
  EXPECT_FALSE(session.CheckConflictsEnabled());

  MemorySettingsStore empty;
  EditorSession defaults(fs, empty);
  EXPECT_TRUE(defaults.SortByExtension());
  EXPECT_TRUE(defaults.SortCaseSensitive());
  EXPECT_TRUE(defaults.CheckConflictsEnabled());
}

TEST_F(EditorSessionTest, SortCommandsStoreTheOrderAndKeepTheEdits) {
  EditorSession session(fs, settings);
  session.LoadFolder(u"/f/");
  EXPECT_EQ(OriginalNames(session.Editor().Names()), (Names{u"C.jpg", u"a.png", u"b.txt"}));
  session.Editor().SetLineText(0, u"cat.jpg");

  session.SortByFileName();
  EXPECT_EQ(settings.ReadInteger(settings::kSortByExtension, 9), 0u);
  EXPECT_EQ(OriginalNames(session.Editor().Names()), (Names{u"C.jpg", u"a.png", u"b.txt"}));
  session.ToggleSortCaseSensitive();
  EXPECT_EQ(settings.ReadInteger(settings::kSortCaseSensitive, 9), 0u);
  EXPECT_EQ(OriginalNames(session.Editor().Names()), (Names{u"a.png", u"b.txt", u"C.jpg"}));
  EXPECT_EQ(NewNames(session.Editor().Names()), (Names{u"a.png", u"b.txt", u"cat.jpg"}));
  EXPECT_EQ(test::ChangedMarks(session.Editor(), 2), "xxxxxxx");

  // Choosing the order already in force still stores it and reloads.
  settings.WriteInteger(settings::kSortByExtension, 5);
  const int listings = fs.ListingCount();
  session.SortByFileName();
  EXPECT_EQ(settings.ReadInteger(settings::kSortByExtension, 9), 0u);
  EXPECT_EQ(fs.ListingCount(), listings + 1);
  session.SortByFileType();
  EXPECT_EQ(settings.ReadInteger(settings::kSortByExtension, 9), 1u);
  EXPECT_EQ(NewNames(session.Editor().Names()), (Names{u"cat.jpg", u"a.png", u"b.txt"}));
}

TEST_F(EditorSessionTest, SortingNumbersByValueIsStoredAndKeepsTheEdits) {
  fs.AddFolder(u"/p/", {u"IMG10.jpg", u"IMG2.jpg", u"IMG1.jpg"});
  EditorSession session(fs, settings);
  EXPECT_FALSE(session.SortNumbersByValue());
  session.LoadFolder(u"/p/");
  EXPECT_EQ(OriginalNames(session.Editor().Names()), (Names{u"IMG1.jpg", u"IMG10.jpg", u"IMG2.jpg"}));
  session.Editor().SetLineText(1, u"ten.jpg");

  session.ToggleSortNumbersByValue();
  EXPECT_TRUE(session.SortNumbersByValue());
  EXPECT_EQ(settings.ReadInteger(settings::kSortNumbersByValue, 9), 1u);
  EXPECT_EQ(OriginalNames(session.Editor().Names()), (Names{u"IMG1.jpg", u"IMG2.jpg", u"IMG10.jpg"}));
  EXPECT_EQ(NewNames(session.Editor().Names()), (Names{u"IMG1.jpg", u"IMG2.jpg", u"ten.jpg"}));
  EXPECT_EQ(EditorSession(fs, settings).SortNumbersByValue(), true);  // read back by the next session

  session.ToggleSortNumbersByValue();
  EXPECT_EQ(settings.ReadInteger(settings::kSortNumbersByValue, 9), 0u);
  EXPECT_EQ(NewNames(session.Editor().Names()), (Names{u"IMG1.jpg", u"ten.jpg", u"IMG2.jpg"}));
}

TEST_F(EditorSessionTest, EditsSurviveLeavingAndReenteringAFolder) {
  EditorSession session(fs, settings);
  session.SwitchToFolder(u"/f/");
  session.Editor().SetLineText(1, u"apple.png");
  session.Editor().SetLineText(2, u"bee.txt");
  session.SwitchToFolder(u"/g/");
  EXPECT_EQ(NewNames(session.Editor().Names()), (Names{u"other.txt"}));
  session.SwitchToFolder(u"/f/");
  EXPECT_EQ(NewNames(session.Editor().Names()), (Names{u"C.jpg", u"apple.png", u"bee.txt"}));
}

TEST_F(EditorSessionTest, ConfirmedReloadDropsTheFolderMemory) {
  EditorSession session(fs, settings);
  session.SwitchToFolder(u"/f/");
  session.Editor().SetLineText(0, u"x.jpg");
  session.SwitchToFolder(u"/g/");
  session.SwitchToFolder(u"/f/");
  ASSERT_EQ(session.Editor().Names()[0].newName, u"x.jpg");

  session.ReloadConfirmed();
  EXPECT_EQ(session.Editor().Names()[0].newName, u"C.jpg");
  EXPECT_EQ(session.PendingEdits().Find(u"/f/"), nullptr);
  session.SwitchToFolder(u"/g/");
  session.SwitchToFolder(u"/f/");
  EXPECT_EQ(session.Editor().Names()[0].newName, u"C.jpg");
}

TEST_F(EditorSessionTest, RestoringEditsMarksConflictsAndLoadingClearsThem) {
  EditorSession session(fs, settings);
  session.SwitchToFolder(u"/f/");
  session.Editor().SetLineText(1, u"C.jpg");  // takes the disk name of line 0
  session.SwitchToFolder(u"/g/");
  session.SwitchToFolder(u"/f/");
  ASSERT_EQ(session.Links().duplicateLinks.size(), 1u);
  EXPECT_EQ(session.Links().duplicateLinks[0], (ConflictLink{0, 1, u"C.jpg"}));

  session.ToggleAutoCheckConflicts();
  EXPECT_EQ(settings.ReadInteger(settings::kCheckConflict, 9), 0u);
  EXPECT_EQ(session.Links().duplicateLinks.size(), 1u);  // switching off keeps the marks
  session.LoadFolder(u"/f/");
  EXPECT_TRUE(session.Links().duplicateLinks.empty());
}

TEST_F(EditorSessionTest, WithNoFolderLoadedTheCommandsLoadNothing) {
  EditorSession session(fs, settings);
  const int listings = fs.ListingCount();
  session.ReloadConfirmed();
  session.SortByFileType();
  EXPECT_EQ(fs.ListingCount(), listings);
  EXPECT_TRUE(session.Editor().Names().empty());

  // A folder that vanished leaves the editor empty with no current folder.
  session.SwitchToFolder(u"/f/");
  fs.RemoveFolder(u"/f/");
  session.SortByFileName();
  EXPECT_TRUE(session.Editor().Names().empty());
  EXPECT_EQ(session.Editor().CurrentFolder(), u"");
}

TEST_F(EditorSessionTest, EditsAreFollowedByTheConflictCheck) {
  fs.AddFolder(u"/h/", {u"ab", u"abc"});
  EditorSession session(fs, settings);
  session.LoadFolder(u"/h/");
  session.Editor().SetSelection({0, 0, 2, 2}, {0, 2});
  session.TypeChar(u'c');  // "ab" becomes "abc", the name of the next line
  EXPECT_EQ(session.Links().duplicateLinks, (std::vector<ConflictLink>{{0, 1, u"abc"}}));
  session.Undo();
  EXPECT_TRUE(session.Links().duplicateLinks.empty());
  session.Redo();
  EXPECT_EQ(session.Links().duplicateLinks.size(), 1u);
  session.Backspace();
  EXPECT_TRUE(session.Links().duplicateLinks.empty());
}

// A load makes the check ready for the first edit but marks nothing, not even names on disk that
// differ only in case; the first check after an edit finds them, against the new list's names.
TEST_F(EditorSessionTest, ALoadMarksNothingAndTheFirstEditIsCheckedAgainstTheNewList) {
  fs.AddFolder(u"/h/", {u"Photo.jpg", u"photo.jpg", u"x.jpg"});
  EditorSession session(fs, settings);
  session.LoadFolder(u"/f/");
  session.LoadFolder(u"/h/");
  EXPECT_TRUE(session.Links().duplicateLinks.empty());
  EXPECT_TRUE(session.Links().diskNameLinks.empty());
  const std::size_t x = 2;
  ASSERT_EQ(test::OriginalNames(session.Editor().Names())[x], u"x.jpg");
  session.Editor().SetNewName(x, u"b.txt");  // a name on disk in the folder loaded before
  session.CheckConflicts();
  EXPECT_TRUE(session.Links().diskNameLinks.empty());
  EXPECT_EQ(session.Links().duplicateLinks.size(), 1u);  // the two names on disk alike but for case
  session.Editor().SetNewName(x, u"PHOTO.jpg");
  session.CheckConflicts();
  EXPECT_EQ(session.Links().diskNameLinks.size(), 1u);
  EXPECT_EQ(session.Links().duplicateLinks.size(), 2u);
}

// Every way a name can change brings the marks up to date, not only typing: each row starts from
// a folder, may leave a mark from an earlier edit, and runs one command.
TEST_F(EditorSessionTest, EveryCommandThatSetsNamesLeavesTheMarksRight) {
  const auto created = FileClock::time_point{} + std::chrono::hours(24 * 365 * 40);
  const std::u16string dated = FormatCreationDate(created, u"yyMMdd") + u"été.txt";
  using Step = std::function<void(EditorSession&)>;
  const auto selectColumns = [](std::int32_t first, std::int32_t last, std::int32_t from, std::int32_t to) {
    return [=](EditorSession& session) { session.Editor().SetSelection({first, last, from, to}, {last, to}); };
  };
  const auto then = [](Step a, Step b) { return [=](EditorSession& session) { a(session); b(session); }; };
  const auto staleMark = [](std::size_t line, std::u16string name) {
    return [=](EditorSession& session) {
      session.Editor().SetNewName(line, name);
      ASSERT_FALSE(session.Links().duplicateLinks.empty());
    };
  };
  struct Row {
    const char* name;
    Names files;
    Step before;
    Step command;
    bool marked;
  };
  const Row rows[] = {
      {"Replace All", {u"日記 .pdf", u"日記  .pdf", u"日記.pdf"}, {},
       [](EditorSession& session) { ReplaceAll(session.Editor(), session.Search(), u" ", u"", {}); }, true},
      {"Remove Space", {u"a b.txt", u"ab.txt"}, selectColumns(0, 0, 0, 3),
       [](EditorSession& session) { session.Transform(TextTransform::RemoveSpace); }, true},
      {"Underscores", {u"é b.txt", u"é_b.txt"}, selectColumns(0, 1, 0, 7),
       [](EditorSession& session) { session.Transform(TextTransform::Underscores); }, true},
      {"Smart Numbering", {u"1.jpg", u"2.jpg", u"3.jpg"}, then(staleMark(2, u"1.jpg"), selectColumns(0, 2, 0, 1)),
       [](EditorSession& session) { CommandNote note; session.NumberSelection(note); }, false},
      {"Trim Left", {u" ß.txt", u"ß.txt"}, {}, [](EditorSession& session) { session.TrimLeftAll(); }, true},
      {"Right Align", {u" b.txt", u"b.txt"}, {}, [](EditorSession& session) { session.RightAlignAll(); }, true},
      {"Insert Creation Date", {dated, u"été.txt"}, selectColumns(1, 1, 0, 0),
       [](EditorSession& session) { session.InsertCreationDate(u"yyMMdd"); }, true},
      {"AI answers", {u"a.txt", u"b.txt"}, {},
       [](EditorSession& session) { session.ApplyParsedPairs({{RenamePair{u"a.txt", u"B.TXT"}}}); }, true},
      {"Reset All Names", {u"a.txt", u"b.txt"}, staleMark(0, u"b.txt"),
       [](EditorSession& session) { session.ResetAllNames(); }, false},
      {"an edit past the session", {u"a.txt", u"b.txt"}, {},
       [](EditorSession& session) { session.Editor().SetLineText(1, u"A.txt"); }, true},
  };
  for (const Row& row : rows) {
    test::FakeFileSystem files;
    files.AddFolder(u"/m/", row.files);
    files.SetCreationTime(u"/m/été.txt", created);
    EditorSession session(files, settings);
    ASSERT_TRUE(session.LoadFolder(u"/m/")) << row.name;
    if (row.before) row.before(session);
    row.command(session);
    ConflictLinks expected;
    CheckConflicts(session.Editor().Names(), expected);
    EXPECT_EQ(session.Links().duplicateLinks, expected.duplicateLinks) << row.name;
    EXPECT_EQ(session.Links().diskNameLinks, expected.diskNameLinks) << row.name;
    EXPECT_EQ(!session.Links().duplicateLinks.empty(), row.marked) << row.name;
  }
}

// Padding with spaces is never silent: the lines padded are counted (a side effect of numbering
// is worth a message box), and Validate goes on reporting names that now start with a space.
TEST_F(EditorSessionTest, CommandsThatPadLinesSaySoAndValidateReportsLeadingSpaces) {
  const std::u16string twoPadded = u"2 lines were padded with spaces; a name that starts with a space is reported by "
                                   u"Validate Changes.";
  const std::u16string onePadded = u"1 line was padded with spaces; a name that starts with a space is reported by "
                                   u"Validate Changes.";
  struct Case {
    const char* name;
    Names files;
    BlockSelection block;
    std::function<CommandNote(EditorSession&)> command;
    CommandNote expected;
    Names texts;
  };
  const std::vector<Case> cases = {
      {"numbering past short lines", {u"photo 01.jpg", u"é.jpg", u"日.jpg"}, {0, 2, 6, 8},
       [](EditorSession& s) { CommandNote note; EXPECT_EQ(s.NumberSelection(note), NumberingResult::Done); return note; },
       {twoPadded, true}, {u"photo 01.jpg", u"é.jpg 02", u"日.jpg 03"}},
      {"numbering within the lines", {u"a01.jpg", u"b02.jpg"}, {0, 1, 1, 3},
       [](EditorSession& s) { CommandNote note; s.NumberSelection(note); return note; }, {}, {u"a01.jpg", u"b02.jpg"}},
      {"right align", {u"ab.txt", u"ß.txt"}, {0, 1, 0, 0}, [](EditorSession& s) { return s.RightAlignAll(); },
       {onePadded, false}, {u"ab.txt", u" ß.txt"}},
      {"right align of the selection", {u"ab.txt", u"é.txt", u"z.zip"}, {0, 1, 0, 0},
       [](EditorSession& s) { return s.RightAlignSelection().value_or(CommandNote{u"nothing done"}); },
       {onePadded, false}, {u"ab.txt", u" é.txt", u"z.zip"}},
  };
  for (const auto& c : cases) {
    test::FakeFileSystem files;
    files.AddFolder(u"/p/", c.files);
    EditorSession session(files, settings);
    session.LoadFolder(u"/p/");
    ASSERT_EQ(OriginalNames(session.Editor().Names()), c.files) << c.name;
    session.Editor().SetSelection(c.block, {c.block.endLine, c.block.endColumn});
    EXPECT_EQ(c.command(session), c.expected) << c.name;
    EXPECT_EQ(test::LineTexts(session.Editor().Names()), c.texts) << c.name;
    const bool leadingSpace = std::any_of(c.texts.begin(), c.texts.end(), [](const auto& t) { return t[0] == u' '; });
    const std::vector<ValidationProblem> problems = session.Validate();
    EXPECT_EQ(std::any_of(problems.begin(), problems.end(),
                          [](const ValidationProblem& p) { return p.message == u"Filename starts with a space"; }),
              leadingSpace)
        << c.name;
  }
}

TEST_F(EditorSessionTest, GoingToAProblemLinePutsTheCaretThereInView) {
  Names files;
  for (int i = 0; i < 300; ++i) files.push_back(FromUtf8("ß" + std::to_string(1000 + i) + ".txt"));
  fs.AddFolder(u"/many/", files);
  EditorSession session(fs, settings);
  session.LoadFolder(u"/many/");
  session.Editor().SetMetrics({.lineHeight = 10, .charWidth = 10, .clientWidth = 400, .clientHeight = 200});
  session.Editor().ToggleScopeButton(ScopeButton::Name);  // the extension alone: its first column is 1
  const struct {
    std::size_t line;
    TextPos caret;
    bool visible;
  } cases[] = {{250, {250, 1}, true}, {3, {3, 1}, true}, {299, {299, 1}, true}, {300, {299, 1}, true}};
  for (const auto& c : cases) {
    session.GoToLine(c.line);
    EXPECT_EQ(session.Editor().Caret(), c.caret) << c.line;
    EXPECT_EQ(session.Editor().Selection(), (BlockSelection{c.caret.line, c.caret.line, 1, 1})) << c.line;
    const std::int32_t top = session.Editor().TopLine();
    EXPECT_TRUE(c.caret.line >= top && c.caret.line < top + session.Editor().VisibleLineCount()) << c.line;
  }
}

// A filter stays in force from folder to folder; wherever it hides files, the header and the status
// bar say so, and setting one leaves the scope as the user chose it.
TEST_F(EditorSessionTest, AFilterInForceIsAlwaysShown) {
  Names songs;
  for (int i = 0; i < 24; ++i) songs.push_back(FromUtf8("chanson " + std::to_string(10 + i) + ".flac"));
  fs.AddFolder(u"/music/", songs);
  fs.AddFolder(u"/photos/", {u"日記 1.jpg", u"été 2.jpg", u"notes.txt"});
  EditorSession session(fs, settings);
  session.SwitchToFolder(u"/photos/");
  session.Editor().ToggleScopeButton(ScopeButton::Extension);  // the name alone
  const struct {
    const char* step;
    std::function<void()> run;
    std::u16string total;
    std::u16string status;
  } steps[] = {
      {"no filter", [] {}, u"Total: 3", u""},
      {"filter set", [&] { session.SetFilter(u"mp3", u""); }, u"Total: 0 of 3 (filter: mp3)",
       u"Filter: mp3 (3 of 3 files hidden)"},
      {"carried to another folder", [&] { session.SwitchToFolder(u"/music/"); }, u"Total: 0 of 24 (filter: mp3)",
       u"Filter: mp3 (24 of 24 files hidden)"},
      {"two conditions", [&] { session.SwitchToFolder(u"/photos/"); session.SetFilter(u"JPG", u"日記"); },
       u"Total: 1 of 3 (filter: JPG; name includes \"日記\")", u"Filter: JPG; name includes \"日記\" (2 of 3 files hidden)"},
      {"filter removed", [&] { session.SetFilter(u"", u""); }, u"Total: 3", u""},
  };
  for (const auto& step : steps) {
    step.run();
    EXPECT_EQ(session.TotalText(), step.total) << step.step;
    EXPECT_EQ(session.FilterStatusText(), step.status) << step.step;
  }
  session.Editor().ToggleScopeButton(ScopeButton::Extension);
  session.Editor().ToggleScopeButton(ScopeButton::Name);  // the extension alone
  session.SetFilter(u"jpg", u"");
  EXPECT_EQ(session.Editor().Scope(), EditScope::Extension);
  EXPECT_FALSE(session.Editor().IsChecked(ScopeButton::Name));
  EXPECT_TRUE(session.Editor().IsChecked(ScopeButton::Extension));
  EXPECT_EQ(test::LineTexts(session.Editor().Names()), (Names{u".jpg", u".jpg"}));
}

TEST_F(EditorSessionTest, CopyCutAndPasteGoThroughTheClipboard) {
  fs.AddFolder(u"/h/", {u"abcd", u"efgh"});
  EditorSession session(fs, settings);
  session.LoadFolder(u"/h/");
  test::FakeClipboard clipboard;
  EXPECT_FALSE(session.PasteClipboard(clipboard));  // no text: nothing, no undo step
  EXPECT_FALSE(session.Editor().CanUndo());
  EXPECT_FALSE(session.CopySelection(clipboard));   // nothing selected: the clipboard is left alone
  EXPECT_EQ(clipboard.writes, 0);

  session.Editor().SetSelection({0, 1, 1, 3}, {1, 3});
  EXPECT_TRUE(session.CutSelection(clipboard));
  EXPECT_EQ(clipboard.text, u"bc\r\nfg");
  EXPECT_EQ(NewNames(session.Editor().Names()), (Names{u"ad", u"eh"}));
  session.Editor().SetSelection({0, 1, 2, 2}, {1, 2});
  EXPECT_TRUE(session.PasteClipboard(clipboard));
  EXPECT_EQ(NewNames(session.Editor().Names()), (Names{u"adbc", u"ehfg"}));
}

}  // namespace
}  // namespace nomvarix

namespace nomvarix {
namespace {

TEST(EditorSessionKeys, ConflictMarksStayRightThroughEveryKindOfEdit) {
  // Short names from a few letters, so that edits keep running into each other's names.
  test::FakeFileSystem fs;
  std::mt19937 random(11);
  const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  std::vector<std::u16string> files;
  for (int i = 0; i < 60; ++i) {
    std::u16string name;
    for (int k = 1 + pick(3); k > 0; --k) name.push_back(u"abAB"[pick(4)]);
    name += i % 3 == 0 ? u".TXT" : u".txt";
    if (std::find(files.begin(), files.end(), name) == files.end()) files.push_back(name);
  }
  fs.AddFolder(u"/f/", files);
  MemorySettingsStore settings;
  EditorSession session(fs, settings);
  ASSERT_TRUE(session.LoadFolder(u"/f/"));
  test::FakeClipboard clipboard;
  NameEditor& editor = session.Editor();
  const auto lines = static_cast<std::int32_t>(editor.LineCount());
  for (int step = 0; step < 400; ++step) {
    const std::int32_t a = pick(lines);
    const std::int32_t b = pick(lines);
    const std::int32_t column = pick(4);
    editor.SetSelection({std::min(a, b), std::max(a, b), column, column + pick(2)}, {std::max(a, b), column});
    switch (pick(9)) {
      case 0: session.TypeChar(u"abAB."[pick(5)]); break;
      case 1: session.Backspace(); break;
      case 2: session.DeleteForward(); break;
      case 3: session.Undo(); break;
      case 4: session.Redo(); break;
      case 5: session.Transform(pick(2) == 0 ? TextTransform::Uppercase : TextTransform::Lowercase); break;
      case 6: editor.ToggleScopeButton(pick(2) == 0 ? ScopeButton::Name : ScopeButton::Extension); break;
      case 7: session.ResetName(a); break;
      case 8:
        session.CopySelection(clipboard);
        editor.SetSelection({a, a, 0, 0}, {a, 0});
        session.PasteClipboard(clipboard);
        break;
    }
    session.CheckConflicts();
    ConflictLinks expected;
    CheckConflicts(editor.Names(), expected);
    ASSERT_EQ(session.Links().duplicateLinks, expected.duplicateLinks) << "step " << step;
    ASSERT_EQ(session.Links().diskNameLinks, expected.diskNameLinks) << "step " << step;
    for (std::size_t i = 0; i < editor.LineCount(); ++i) ASSERT_EQ(editor.Keys()[i], KeyOf(editor.Names()[i]));
  }
}

}  // namespace
}  // namespace nomvarix
