#include "apply/Validation.h"

#include <gtest/gtest.h>

#include "support/EditorFixture.h"

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
            u"3: Contains invalid characters: ':'\n"
            u"3: Contains invalid characters: '?'\n"
            u"4: Filename starts with a space\n");
  EXPECT_TRUE(found);
  EXPECT_EQ(Marks(), (std::vector<bool>{true, true, true, true, false}));

  editor.SetNewName(0, u"");
  editor.SetNewName(1, u"b.txt");
  EXPECT_TRUE(Validate().starts_with(u"1: Filename is empty\n1: File already exists on disk\n3: Contains"));
}

TEST_F(ValidationTest, DuplicatesFoldOnlyAsciiAndMarkBothLines) {
  Load({u"1", u"2", u"3", u"4", u"5", u"6"});
  Rename({u"A.txt", u"", u"a.txt", u"\u00C4.txt", u"\u00E4.txt", u"A.TXT"});
  EXPECT_EQ(Validate(), u"3: Duplicate filename detected\n6: Duplicate filename detected\n");
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false, true, false, false, true}));
}

TEST_F(ValidationTest, LengthLimitAndNamesOfOtherFiles) {
  Load({u"a", u"b", u"c", u"d"});
  fs.AddEntry(u"/f/", {u"sub", true, false});
  Rename({std::u16string(255, u'x'), std::u16string(256, u'y'), u"d", u"sub"});
  EXPECT_EQ(Validate(),
            u"2: Filename too long (> 255 characters)\n"
            u"3: File already exists on disk\n"
            u"4: File already exists on disk\n");
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

TEST(ShortenedReportTest, CutsAfter200Characters) {
  EXPECT_EQ(ShortenedReport(std::u16string(200, u'r')), std::u16string(200, u'r'));
  EXPECT_EQ(ShortenedReport(std::u16string(201, u'r')), std::u16string(200, u'r') + u"\n...");
}

}  // namespace
}  // namespace nomvarix
