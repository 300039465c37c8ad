#include "apply/RenameJournal.h"

#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"

namespace nomvarix {
namespace {

NameEntry Line(std::u16string original, std::u16string renamed) {
  NameEntry entry;
  entry.originalName = std::move(original);
  entry.lineText = entry.newName = std::move(renamed);
  return entry;
}

TEST(RenameJournalTest, AnyNameSurvivesTheRoundTrip) {
  const std::u16string escapedByte{u'b', u'a', u'd', char16_t(0xDCFF), u'.', u'j', u'p', u'g'};
  const std::u16string loneHigh{u'w', char16_t(0xD800), u'x'};  // possible on Windows
  const std::u16string longest(255, u'a');
  RenameJournal journal{u"/home/f\u00e9e/\U0001F600 photos/",
                        {{{1, 2}, escapedByte, u"line\nbreak", u""},
                         {{~0ull, ~0ull - 1}, longest, u"\"quoted\\\" \U0001F600 ", u""},
                         {{3, 4}, u"Photo.JPG", u"photo.jpg", u".nomvarix-1.tmp"},
                         {{5, 6}, loneHigh, std::u16string(1, char16_t(0xDC80)), u""}}};
  const std::string text = JournalText(journal);
  EXPECT_EQ(ParseJournal(text), journal);
  EXPECT_NE(text.find("\"version\": 1"), std::string::npos);
  // Valid names stay readable; a name that is not valid Unicode goes as its code units.
  EXPECT_NE(text.find("line\\nbreak"), std::string::npos);
  EXPECT_NE(text.find("56575"), std::string::npos);  // 0xDCFF
}

TEST(RenameJournalTest, TextsThatAreNoJournalOfThisVersionAreRefused) {
  const RenameJournal journal{u"/f/", {{{1, 2}, u"a", u"b", u""}}};
  std::string text = JournalText(journal);
  EXPECT_TRUE(ParseJournal(text));
  EXPECT_FALSE(ParseJournal(text.substr(0, text.size() / 2)));  // cut short
  EXPECT_FALSE(ParseJournal(""));
  EXPECT_FALSE(ParseJournal("[]"));
  EXPECT_FALSE(ParseJournal(R"({"format": "nomvarix-rename-journal", "version": 2, "folder": "/f/", "steps": []})"));
  EXPECT_FALSE(ParseJournal(R"({"format": "other", "version": 1, "folder": "/f/", "steps": []})"));
  EXPECT_FALSE(ParseJournal(R"({"format": "nomvarix-rename-journal", "version": 1, "folder": "/f/",
                                "steps": [{"volume": 1, "file": 2, "before": [65536], "after": "b"}]})"));
  EXPECT_FALSE(ParseJournal(R"({"format": "nomvarix-rename-journal", "version": 1, "folder": "/f/",
                                "steps": [{"volume": -1, "file": 2, "before": "a", "after": "b"}]})"));
}

TEST(RenameJournalTest, PlanNamesEveryChangedFileAndReservesFreeTemporaryNames) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {u"a", u"B.txt", u"c", u"d.txt", u".nomvarix-1.tmp"});
  const NameList names{Line(u"a", u"a"), Line(u"B.txt", u"b.txt"), Line(u"c", u"x"), Line(u"gone", u"y"),
                       Line(u"d.txt", u"D.TXT")};
  const RenamePlan plan = PlanRenames(names, u"/f/", fs);
  ASSERT_EQ(plan.journal.steps.size(), 3u);  // unchanged and missing files are not planned
  EXPECT_EQ(plan.journal.folder, u"/f/");
  EXPECT_EQ(plan.journal.steps[0], (JournalStep{*fs.IdentityOf(u"/f/B.txt"), u"B.txt", u"b.txt", u".nomvarix-2.tmp"}));
  EXPECT_EQ(plan.journal.steps[1], (JournalStep{*fs.IdentityOf(u"/f/c"), u"c", u"x", u""}));
  EXPECT_EQ(plan.journal.steps[2].temporary, u".nomvarix-3.tmp");
  EXPECT_EQ(plan.temporaries, (std::vector<std::u16string>{u"", u".nomvarix-2.tmp", u"", u"", u".nomvarix-3.tmp"}));
}

TEST(RenameJournalTest, JournalsAreFoundByTheirNamesInTheStateFolder) {
  test::FakeFileSystem fs;
  const std::u16string path = NewJournalPath(u"/state/");
  fs.AddFolder(u"/state/", {path.substr(7), u"rename-1.journal.partial", u"edits.json"});
  EXPECT_NE(path, NewJournalPath(u"/state/"));
  EXPECT_EQ(JournalPaths(fs, u"/state/"), std::vector<std::u16string>{path});
  EXPECT_TRUE(JournalPaths(fs, u"/missing/").empty());
}

}  // namespace
}  // namespace nomvarix
