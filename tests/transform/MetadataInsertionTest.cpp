// Insert from Metadata and Sort by Date Taken, through the session, on photos in a fake folder.
#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "platform/SettingKeys.h"
#include "session/EditorSession.h"
#include "support/CancellingProgress.h"
#include "support/ExifBytes.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"
#include "transform/MetadataPattern.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

std::string Photo(const char* taken) { return test::Jpeg(test::ExifBlock({{test::kDateTimeOriginal, taken}})); }

class MetadataInsertionTest : public ::testing::Test {
 protected:
  MetadataInsertionTest() {
    fs.AddFolder(u"/p/", {u"a.jpg", u"b 日記.jpg", u"c.txt", u"d😀.jpg"});
    fs.SetContent(u"/p/a.jpg", Photo("2019:07:14 16:05:09"));
    fs.SetContent(u"/p/b 日記.jpg", Photo("2007:03:09 23:30:00"));
    fs.SetContent(u"/p/d😀.jpg", Photo("2012:01:01 00:00:00"));
    session.LoadFolder(u"/p/");
  }
  NameEditor& Editor() { return session.Editor(); }
  Names Texts() const { return test::LineTexts(session.Editor().Names()); }

  test::FakeFileSystem fs;
  MemorySettingsStore settings;
  EditorSession session{fs, settings};
};

TEST_F(MetadataInsertionTest, ThePatternIsInsertedAsOneStepAndRemembered) {
  EXPECT_EQ(session.LastMetadataPattern(), u"{DateTaken:yyyy-MM-dd}_");
  Editor().SetNewName(1, u"renamed.jpg");
  Editor().SetSelection({0, 3, 0, 0}, {3, 0});
  session.InsertFromMetadata(u"  {DateTaken:yyMMdd}_{Name} ", std::nullopt);
  EXPECT_EQ(Texts(), (Names{u"190714_a a.jpg", u"070309_b 日記 renamed.jpg", u"120101_d😀 d😀.jpg", u"c.txt"}));
  EXPECT_EQ(session.LastMetadataPattern(), u"  {DateTaken:yyMMdd}_{Name} ");
  session.Undo();
  EXPECT_EQ(Texts(), (Names{u"a.jpg", u"renamed.jpg", u"d😀.jpg", u"c.txt"}));

  // After the start of the names the pattern's white space stays; a fallback fills what is missing.
  Editor().SetSelection({0, 3, 1, 1}, {3, 1});
  session.InsertFromMetadata(u" {DateTaken:yyyy}", u"?/");
  EXPECT_EQ(Texts(), (Names{u"a 2019.jpg", u"r 2007enamed.jpg", u"d 2012😀.jpg", u"c __.txt"}));
}

TEST_F(MetadataInsertionTest, TheDialogsValuesAndItsCountOfMissingFields) {
  FileAttributes sized;
  sized.size = 1234;
  fs.SetAttributes(u"/p/c.txt", sized);
  Editor().SetSelection({0, 3, 0, 0}, {3, 0});
  const std::vector<MetadataRecord> records = session.SelectedMetadata();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(ExpandMetadataPattern(u"{Name}.{Extension} {Size}", records[3], std::nullopt), u"c.txt 1234");
  EXPECT_EQ(CountMissingFields(u"{DateTaken}", records), 1u);
  EXPECT_EQ(CountMissingFields(u"{Size}{Name}", records), 3u);
  EXPECT_EQ(CountMissingFields(u"{Name}", records), 0u);

  test::CancellingFactory progress;
  progress.limits[WorkKind::ReadingMetadata] = 2;
  session.SetProgressFactory(progress);
  EXPECT_TRUE(session.SelectedMetadata().empty());
}

TEST_F(MetadataInsertionTest, SortByDateTakenKeepsTheEditsAndPutsUndatedFilesLast) {
  Editor().SetSelection({0, 0, 0, 0}, {0, 0});
  session.InsertFromMetadata(u"first ", std::nullopt);
  test::CancellingFactory progress;
  progress.limits[WorkKind::SortingByDateTaken] = 1;
  session.SetProgressFactory(progress);
  EXPECT_FALSE(session.SortByDateTaken());
  EXPECT_EQ(Texts(), (Names{u"first a.jpg", u"b 日記.jpg", u"d😀.jpg", u"c.txt"}));

  session.SetProgressFactory(NoProgressFactory());
  EXPECT_TRUE(session.SortByDateTaken());
  EXPECT_EQ(Texts(), (Names{u"b 日記.jpg", u"d😀.jpg", u"first a.jpg", u"c.txt"}));
  EXPECT_EQ(Editor().Names()[2].originalName, u"a.jpg");
  EXPECT_TRUE(session.Undo());  // the edit made before the sort, with the order it was made in
  EXPECT_EQ(Texts(), (Names{u"a.jpg", u"b 日記.jpg", u"d😀.jpg", u"c.txt"}));
}

}  // namespace
}  // namespace nomvarix
