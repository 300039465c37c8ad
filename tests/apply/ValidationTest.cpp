#include "apply/Validation.h"

#include <string_view>

#include <gtest/gtest.h>

#include "apply/NameRules.h"
#include "apply/RenameBatch.h"
#include "support/EditorFixture.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace nomvarix {
namespace {

class ValidationTest : public test::EditorFixture {
 protected:
  /// Gives line i the new name names[i] (an empty string keeps the line unchanged).
  void Rename(const std::vector<std::u16string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (!names[i].empty()) editor.SetNewName(i, names[i]);
    }
  }
  std::u16string Validate() {
    std::u16string report;
    found = ValidateChanges(editor, fs, report);
    return report;
  }
  std::vector<bool> Marks() const {
    std::vector<bool> marks;
    for (const NameEntry& entry : editor.Names()) marks.push_back(entry.errorMark);
    return marks;
  }

  bool found = false;
};

TEST_F(ValidationTest, EachRuleInItsOrderWithTheLineNumber) {
  Load({u"a.txt", u"b.txt", u"c.txt", u"d.txt", u"e.txt"});
  Rename({u".hidden", u"\tx", u"a:b?c:d", u"\u00A0y", u"fine name. "});
  EXPECT_EQ(Validate(),
            u"1: Filename starts with a period\n"
            u"2: Filename starts with a space\n"
            u"2: Contains a control character: U+0009\n"
            u"3: Contains invalid characters: ':'\n"
            u"3: Contains invalid characters: '?'\n"
            u"4: Filename starts with a space\n");
  EXPECT_TRUE(found);
  EXPECT_EQ(Marks(), (std::vector<bool>{true, true, true, true, false}));

  editor.SetNewName(0, u"");
  editor.SetNewName(1, u"b.txt");
  EXPECT_TRUE(Validate().starts_with(u"1: Filename is empty\n1: File already exists on disk\n3: Contains"));
}

// The list behind the report holds every problem, however many, each with its line and new name.
TEST_F(ValidationTest, EveryProblemIsListedWithItsLineAndNewName) {
  std::vector<std::u16string> files;
  std::vector<std::u16string> renamed;
  for (int i = 0; i < 60; ++i) {
    files.push_back(u"f");
    files.back() += FromUtf8(std::to_string(100 + i));
    renamed.push_back(i % 2 == 0 ? u"Été 日記.jpg" : u"Été 日記.JPG");
  }
  Load(files);
  Rename(renamed);
  const std::vector<ValidationProblem> problems = FindProblems(editor, fs);
  ASSERT_EQ(problems.size(), 59u);  // every line after the first takes its name
  for (std::size_t i = 0; i < problems.size(); ++i) {
    EXPECT_EQ(problems[i], (ValidationProblem{i + 1, renamed[i + 1], u"Duplicate filename detected"}));
  }
  EXPECT_GT(Validate().size(), 200u);
  EXPECT_TRUE(Validate().ends_with(u"60: Duplicate filename detected\n"));
}

TEST_F(ValidationTest, ControlCharactersAreReportedAndWhatApplyingSkipsNeverPasses) {
  using namespace std::string_view_literals;
  struct Case {
    std::u16string_view name;
    std::u16string_view report;
  };
  const Case cases[] = {
      {u"ab\0cd"sv, u"1: Contains a control character: U+0000\n"},
      {u"lone\rcr\ttab\x1b" u"esc\r", u"1: Contains a control character: U+000D\n"
                                        u"1: Contains a control character: U+0009\n"
                                        u"1: Contains a control character: U+001B\n"},
      {u"\u65E5\u8A18\x7f\u0085\n.txt", u"1: Contains a control character: U+007F\n"
                                         u"1: Contains a control character: U+0085\n"
                                         u"1: Contains a control character: U+000A\n"},
      {u"x/\0"sv, u"1: Contains invalid characters: '/'\n1: Contains a control character: U+0000\n"},
      {u"..", u"1: Filename starts with a period\n1: File already exists on disk\n"},
      {u"\u00E9\u00DF\xDC80\u2400.txt", u""},  // an undecodable byte and a visible symbol are no controls
  };
  for (const Case& c : cases) {
    Load({u"a.txt"});
    editor.SetNewName(0, std::u16string(c.name));
    EXPECT_EQ(Validate(), c.report) << ToUtf8(c.name);
    // Applying skips only what Validate reports.
    if (ApplyRefuses(c.name)) {
      EXPECT_TRUE(found) << ToUtf8(c.name);
    }
  }
  EXPECT_TRUE(ApplyRefuses(u"ab\0cd"sv));
  EXPECT_FALSE(ApplyRefuses(u"lone\rcr\ttab"));  // shown by Validate, possible on disk
}

TEST_F(ValidationTest, DuplicatesFoldOnlyAsciiAndMarkBothLines) {
  Load({u"1", u"2", u"3", u"4", u"5", u"6"});
  Rename({u"A.txt", u"", u"a.txt", u"\u00C4.txt", u"\u00E4.txt", u"A.TXT"});
  EXPECT_EQ(Validate(), u"3: Duplicate filename detected\n6: Duplicate filename detected\n");
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false, true, false, false, true}));
}

TEST_F(ValidationTest, LengthLimitAndNamesOfOtherFiles) {
  fs.AddFolder(u"/f/", {u"a", u"b", u"c", u"d", u"e"});
  fs.AddEntry(u"/f/", {u"sub", true, false});
  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", SortOrder{false, true}));
  Rename({std::u16string(255, u'x'), std::u16string(256, u'y'), u"d", u"", u"sub"});
  EXPECT_EQ(Validate(),
            u"2: Filename too long (> 255 characters)\n"
            u"3: File already exists on disk\n"
            u"5: File already exists on disk\n");
}

// A target held by a file that the batch renames away is a link of a chain, not a conflict; one
// held by a file that stays (unchanged, refused, or only spelt otherwise where case is ignored)
// still is.
TEST_F(ValidationTest, NamesFreedByTheBatchAreLinksOfAChainNotConflicts) {
  struct Case {
    const char* what;
    Lines files;
    Lines renames;  // empty: unchanged
    bool caseInsensitive;
    std::u16string report;
  };
  const Case cases[] = {
      {"swap", {u"a.txt", u"b.txt"}, {u"b.txt", u"a.txt"}, false, u""},
      {"shift by one", {u"p1", u"p2", u"p3"}, {u"p2", u"p3", u"p4"}, false, u""},
      {"rotation of non-ASCII names", {u"x", u"\u00E9t\u00E9", u"\u65E5\u8A18"}, {u"\u00E9t\u00E9", u"\u65E5\u8A18", u"x"}, false, u""},
      {"holder stays", {u"a", u"b"}, {u"b", u""}, false, u"1: File already exists on disk\n"},
      {"holder refused", {u"a", u"b"}, {u"b", u".b"}, false,
       u"1: File already exists on disk\n2: Filename starts with a period\n"},
      {"swap spelt otherwise", {u"a.txt", u"b.txt"}, {u"B.TXT", u"A.txt"}, true, u""},
      {"holder changes only its case", {u"a.txt", u"q.txt"}, {u"A.txt", u"a.txt"}, true,
       u"2: Duplicate filename detected\n2: File already exists on disk\n"},
      {"two lines want the freed name", {u"a", u"b", u"c"}, {u"b", u"c", u"b"}, false, u"3: Duplicate filename detected\n"},
  };
  for (const Case& c : cases) {
    fs.SetCaseInsensitive(c.caseInsensitive);
    Load(c.files);
    Rename(c.renames);
    EXPECT_EQ(Validate(), c.report) << c.what;
  }
}

TEST_F(ValidationTest, ANewSpellingOfTheSameFileIsNoConflict) {
  fs.SetCaseInsensitive(true);
  Load({u"README.TXT", u"other.txt"});
  Rename({u"readme.txt", u"OTHER.TXT"});
  EXPECT_EQ(Validate(), u"");
  EXPECT_FALSE(found);
  Rename({u"Other.txt", u"other.txt"});  // the other file, found under another spelling
  EXPECT_EQ(Validate(), u"1: File already exists on disk\n");
}

// The names on disk are those of the listing: every entry of the folder takes its name, whatever
// kept it off the list, and the disk is asked at most once (whether the folder ignores case), not
// once per name.
TEST_F(ValidationTest, NamesOnDiskComeFromTheListingNotOneQueryPerName) {
  struct Case {
    const char* what;
    bool caseInsensitive;
    std::u16string newName;  // of line 3, "Été.txt"
    std::u16string report;
    int pathQueries;
  };
  const std::u16string taken = u"3: File already exists on disk\n";
  const Case cases[] = {
      {"free name", false, u"\u65E5\u8A18 new.txt", u"", 0},
      {"an unchanged line", false, u"Keep.JPG", taken, 0},
      {"an undecodable name", false, u"raw\xDC80.txt", taken, 0},
      {"a folder", false, u"Sub", taken, 0},
      {"a hidden entry", false, u".hidden", u"3: Filename starts with a period\n" + taken, 0},
      {"a file the filter left out", false, u"skip.raw", taken, 0},
      {"another case where case counts", false, u"keep.jpg", u"", 1},
      {"another case where it is ignored", true, u"keep.jpg", taken, 1},
      {"a folder in another case", true, u"SUB", taken, 1},
      {"the file itself spelt otherwise", true, u"\u00C9t\u00E9.TXT", u"", 0},
  };
  for (const Case& c : cases) {
    fs.SetCaseInsensitive(c.caseInsensitive);
    fs.AddFolder(u"/f/", {u"\u00C9t\u00E9.txt", u"Keep.JPG", u"raw\xDC80.txt", u".hidden", u"skip.raw"});
    fs.AddEntry(u"/f/", {u"Sub", true, false});
    ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", SortOrder{false, true},
                                  [](std::u16string_view name) { return !name.ends_with(u".raw"); }));
    ASSERT_EQ(test::OriginalNames(editor.Names()),
              (Lines{u"Keep.JPG", u"raw\xDC80.txt", u"\u00C9t\u00E9.txt"}));
    editor.SetNewName(2, c.newName);
    const int before = fs.PathQueries();
    EXPECT_EQ(Validate(), c.report) << c.what;
    EXPECT_EQ(fs.PathQueries() - before, c.pathQueries) << c.what;
  }

  // A thousand renames, chains and clashes among them, ask the disk nothing.
  fs.SetCaseInsensitive(false);
  Lines files;
  Lines renamed;
  for (int i = 0; i < 1000; ++i) {
    files.push_back(u"f" + FromUtf8(std::to_string(1000 + i)) + u" \u00E9");
    // Each hundred: the first takes the next one's target, the last stays, and the one before it
    // takes its name.
    const int target = i % 100 == 0 ? 1002 + i : 1001 + i;
    renamed.push_back(i % 100 == 99 ? u"" : u"f" + FromUtf8(std::to_string(target)) + u" \u00E9");
  }
  Load(files);
  Rename(renamed);
  const int before = fs.PathQueries();
  const std::vector<ValidationProblem> problems = FindProblems(editor, fs);
  EXPECT_EQ(fs.PathQueries(), before);
  ASSERT_EQ(problems.size(), 20u);
  EXPECT_EQ(problems[0], (ValidationProblem{1, renamed[1], u"Duplicate filename detected"}));
  EXPECT_EQ(problems[1], (ValidationProblem{98, renamed[98], u"File already exists on disk"}));
}

// A name taken after the listing is not known to validation; the apply finds it taken and leaves
// the file that took it as it is.
TEST_F(ValidationTest, ANameTakenSinceTheListingIsLeftToTheApply) {
  Load({u"a.txt", u"\u65E5\u8A18.txt"});
  editor.SetNewName(0, u"late \u00E9.txt");
  const std::uint64_t late = fs.AddFile(u"/f/late \u00E9.txt", {});
  EXPECT_EQ(Validate(), u"");
  const RenameBatchResult result = RenameFiles(editor.Names(), u"/f/", fs, false);
  EXPECT_TRUE(result.skipped[0]);
  EXPECT_EQ(fs.InodeOf(u"/f/late \u00E9.txt"), late);
  EXPECT_NE(fs.InodeOf(u"/f/a.txt"), 0u);
}

TEST_F(ValidationTest, UnchangedListsAndNoFolderFindNothing) {
  Load({u"a:b", u"b"});
  editor.SetErrorMark(0, true);
  EXPECT_EQ(Validate(), u"");  // unchanged lines are never checked
  EXPECT_EQ(Marks(), (std::vector<bool>{false, false}));

  NameEditor empty;
  std::u16string report = u"kept";
  EXPECT_FALSE(ValidateChanges(empty, fs, report));
  EXPECT_EQ(report, u"kept");
}

#ifndef _WIN32
// A POSIX name is at most 255 bytes as written, and a symbolic link takes its name whatever it
// points to.
TEST(ValidationOnDiskTest, LengthCountsTheBytesWrittenAndADanglingLinkTakesItsName) {
  test::TempFolder folder;
  for (const char* name : {"a", "b", "c", "d", "e"}) folder.AddFile(name);
  ASSERT_EQ(symlink((folder.Path() + "gone").c_str(), (folder.Path() + "link").c_str()), 0);
  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  NameEditor editor;
  ASSERT_TRUE(editor.LoadFolder(*fs, folder.Path16(), SortOrder{false, true}));
  ASSERT_EQ(test::OriginalNames(editor.Names()), (std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e", u"link"}));

  const std::u16string accents(127, u'\u00E9');  // 254 bytes
  editor.SetNewName(0, accents + u"x");
  editor.SetNewName(1, accents + u"\u00E9");
  editor.SetNewName(2, std::u16string(251, u'\u00E9') + u".txt");  // 255 code units
  editor.SetNewName(3, std::u16string(255, kEscapedByteFirst));  // one byte each
  editor.SetNewName(4, u"link");
  std::u16string report;
  EXPECT_TRUE(ValidateChanges(editor, *fs, report));
  EXPECT_EQ(report,
            u"2: Filename too long (longer than 255 bytes)\n"
            u"3: Filename too long (longer than 255 bytes)\n"
            u"5: File already exists on disk\n");
}
#endif

TEST(ShortenedReportTest, CutsAfter200Characters) {
  EXPECT_EQ(ShortenedReport(std::u16string(200, u'r')), std::u16string(200, u'r'));
  EXPECT_EQ(ShortenedReport(std::u16string(201, u'r')), std::u16string(200, u'r') + u"\n...");
}

}  // namespace
}  // namespace nomvarix
