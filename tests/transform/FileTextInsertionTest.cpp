#include "transform/FileTextInsertion.h"

#include <chrono>
#include <functional>

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "support/CancellingProgress.h"
#include "support/ExifBytes.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"
#include "support/PngBytes.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"
#ifndef _WIN32
#include "support/WaitingFifo.h"
#endif

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;
using namespace std::chrono;

FileClock::time_point Utc(int y, unsigned m, unsigned d, int hour, int minute) {
  return sys_days{year{y} / month{m} / day{d}} + hours{hour} + minutes{minute};
}

TEST(CreationDateTest, TheFormatsInUtc) {
  const auto t = Utc(2007, 3, 9, 23, 5);
  EXPECT_EQ(FormatCreationDate(t, u"yyyy-MM-dd"), u"2007-03-09");
  EXPECT_EQ(FormatCreationDate(t, u"yyMMdd"), u"070309");
  EXPECT_EQ(FormatCreationDate(t, u"yyyy-MM-dd HH-mm"), u"2007-03-09 23-05");
  EXPECT_EQ(FormatCreationDate(t, u"dd.MM.yyyy"), u"09.03.2007");
  EXPECT_EQ(FormatCreationDate(t, u"other"), u"20070309");
  EXPECT_EQ(FormatImageSize({1920, 1080}, u"_(WxH)_"), u"_(1920x1080)_");
  EXPECT_EQ(FormatImageSize({5, static_cast<std::uint32_t>(-7)}, u"WxH"), u"5x-7");
}

class FileTextInsertionTest : public ::testing::Test {
 protected:
  FileTextInsertionTest() {
    fs.AddFolder(u"/f/", {u"a.txt", u"b.txt", u"c.txt"});
    fs.SetCreationTime(u"/f/a.txt", Utc(2020, 1, 2, 3, 4));
    fs.SetCreationTime(u"/f/c.txt", Utc(2021, 5, 6, 7, 8));
    session.LoadFolder(u"/f/");
  }
  NameEditor& Editor() { return session.Editor(); }
  Names Texts() const { return test::LineTexts(session.Editor().Names()); }

  test::FakeFileSystem fs;
  MemorySettingsStore settings;
  EditorSession session{fs, settings};
};

TEST_F(FileTextInsertionTest, ACaretTakesTheDateOfTheFileUnderItsOriginalName) {
  Editor().SetNewName(0, u"renamed.txt");
  Editor().SetSelection({0, 2, 0, 0}, {2, 0});
  session.InsertCreationDate(u"yyMMdd");
  EXPECT_EQ(Texts(), (Names{u"200102renamed.txt", u"b.txt", u"210506c.txt"}));  // b has no date: left alone
  EXPECT_EQ(Editor().Selection(), (BlockSelection{0, 2, 6, 6}));
  session.Undo();
  EXPECT_EQ(Texts(), (Names{u"renamed.txt", u"b.txt", u"c.txt"}));
}

TEST_F(FileTextInsertionTest, ABlockIsReplacedUnlessThatWouldEmptyTheLine) {
  Editor().SetSelection({0, 2, 0, 1}, {2, 1});
  session.InsertCreationDate(u"yyyy-MM-dd");
  EXPECT_EQ(Texts(), (Names{u"2020-01-02.txt", u"b.txt", u"2021-05-06.txt"}));

  session.LoadFolder(u"/f/");
  Editor().SelectAll();  // whole lines: the names stay and the dates go in front
  session.InsertCreationDate(u"yyMMdd");
  EXPECT_EQ(Texts(), (Names{u"200102a.txt", u"b.txt", u"210506c.txt"}));
}

TEST_F(FileTextInsertionTest, NothingWithoutACaretAndShortLinesGetNothing) {
  session.InsertCreationDate(u"yyMMdd");  // just loaded: no caret
  EXPECT_FALSE(Editor().CanUndo());
  Editor().SetSelection({0, 2, 5, 5}, {2, 5});
  Editor().SetNewName(2, u"c");
  session.InsertCreationDate(u"yyMMdd");
  EXPECT_EQ(Texts(), (Names{u"a.txt200102", u"b.txt", u"c"}));
}

// A line whose file has no value is left as it was, and the user is told how many there were: a
// following numbering would otherwise pad those lines into names nobody meant.
TEST_F(FileTextInsertionTest, LinesLeftAloneForWantOfAValueAreCounted) {
  fs.AddFolder(u"/many/", {u"1 été.txt", u"2 日記.txt", u"3.txt", u"4.txt", u"5.txt"});
  const struct {
    std::u16string folder;
    std::function<CommandNote(EditorSession&)> insert;
    CommandNote expected;
  } cases[] = {
      {u"/f/", [](EditorSession& s) { return s.InsertCreationDate(u"yyMMdd"); },
       {u"1 of 3 files has no creation date; its line was left as it was.", false}},
      {u"/f/", [](EditorSession& s) { return s.InsertDateTaken(u"yyMMdd"); },
       {u"3 of 3 files have no date taken; their lines were left as they were.", false}},
      {u"/many/", [](EditorSession& s) { return s.InsertImageSize(u"WxH"); },
       {u"5 of 5 files have no image size; their lines were left as they were.", true}},
  };
  for (const auto& c : cases) {
    session.LoadFolder(c.folder);
    Editor().SelectAll();
    EXPECT_EQ(c.insert(session), c.expected) << ToUtf8(c.expected.status);
  }
  session.LoadFolder(u"/f/");
  Editor().SetSelection({2, 2, 0, 0}, {2, 0});  // c.txt alone, which has a date
  EXPECT_EQ(session.InsertCreationDate(u"yyMMdd"), CommandNote{});
  EXPECT_EQ(LinesWithoutValueNote(3, 1400, u"date taken").status,
            u"3 of 1,400 files have no date taken; their lines were left as they were.");
}

TEST_F(FileTextInsertionTest, ImageSizesComeFromTheFiles) {
  fs.AddFolder(u"/img/", {u"p.png", u"x.txt"});
  fs.SetContent(u"/img/p.png", test::PngHeader(1920, 1080));
  session.LoadFolder(u"/img/");
  Editor().SetSelection({0, 1, 1, 1}, {1, 1});
  session.InsertImageSize(u"_(WxH)_");
  EXPECT_EQ(Texts(), (Names{u"p_(1920x1080)_.png", u"x.txt"}));
}

TEST_F(FileTextInsertionTest, DatesTakenFollowTheRulesOfTheOtherInsertions) {
  using test::ExifBlock;
  fs.AddFolder(u"/p/", {u"a.jpg", u"b.jpg", u"c.jpg", u"d.jpg"});
  fs.SetContent(u"/p/a.jpg", test::Jpeg(ExifBlock({{test::kDateTimeOriginal, "2019:07:14 16:05:09"}})));
  fs.SetContent(u"/p/b.jpg", test::Jpeg(""));
  fs.SetContent(u"/p/c.jpg", test::Jpeg(ExifBlock({{test::kDateTimeDigitized, "2007:03:09 23:30:00"}})));
  fs.SetCreationTime(u"/p/d.jpg", Utc(2020, 1, 2, 3, 4));  // a creation date is no date taken
  session.LoadFolder(u"/p/");
  Editor().SetNewName(0, u"renamed.jpg");
  Editor().SetSelection({0, 3, 0, 1}, {3, 1});
  session.InsertDateTaken(u"yyyy-MM-dd HH-mm");
  EXPECT_EQ(Texts(), (Names{u"2019-07-14 16-05enamed.jpg", u"b.jpg", u"2007-03-09 23-30.jpg", u"d.jpg"}));
  EXPECT_EQ(Editor().Selection(), (BlockSelection{0, 3, 16, 16}));
  session.Undo();
  EXPECT_EQ(Texts(), (Names{u"renamed.jpg", u"b.jpg", u"c.jpg", u"d.jpg"}));

  Editor().SelectAll();
  session.InsertDateTaken(u"yyMMdd");
  EXPECT_EQ(Texts(), (Names{u"190714renamed.jpg", u"b.jpg", u"070309c.jpg", u"d.jpg"}));

  session.LoadFolder(u"/p/");
  session.InsertDateTaken(u"yyMMdd");  // no caret: not even an undo step
  EXPECT_FALSE(Editor().CanUndo());

  test::CancellingFactory progress;
  session.SetProgressFactory(progress);
  progress.limits[WorkKind::InsertingDatesTaken] = 1;
  Editor().SetSelection({0, 3, 0, 0}, {3, 0});
  session.InsertDateTaken(u"yyMMdd");
  EXPECT_EQ(Texts(), (Names{u"190714a.jpg", u"b.jpg", u"c.jpg", u"d.jpg"}));
  ASSERT_TRUE(session.Undo());
  EXPECT_FALSE(Editor().CanUndo());
}

#ifndef _WIN32
TEST(FileTextInsertionOnDiskTest, DatesTakenSkipPipesFoldersAndDamagedFiles) {
  using test::ExifBlock;
  test::TempFolder folder;
  folder.AddFile("_1 taken.jpg", test::Jpeg(ExifBlock({{test::kDateTimeOriginal, "2019:07:14 16:05:09"}})));
  std::string damaged = ExifBlock({{test::kDateTimeOriginal, "2019:07:14 16:05:09"}});
  test::PutBigEndian(damaged, test::kFirstEntryValueAt, 0x7FFFFFF0, 4);
  folder.AddFile("_2 damaged.jpg", test::Jpeg(damaged));
  test::WaitingFifo fifo(folder.Path() + "_3 pipe.jpg");
  ASSERT_TRUE(fifo.Created());
  folder.AddFolder("_4 folder.jpg");
  folder.AddFile("_5 plain.jpg", test::Jpeg(""));
  folder.AddFile("_6 digitized.jpg", test::Jpeg(ExifBlock({{test::kDateTimeDigitized, "2001:02:03 04:05:06"}})));
  folder.AddFile("_7 empty.jpg");
  const auto fs = MakeNativeFileSystem();
  MemorySettingsStore settings;
  EditorSession session(*fs, settings);
  session.LoadFolder(folder.Path16());
  session.Editor().SetSelection({0, 5, 0, 0}, {5, 0});
  session.InsertDateTaken(u"yyyy-MM-dd");
  EXPECT_EQ(test::LineTexts(session.Editor().Names()),
            (Names{u"2019-07-14_1 taken.jpg", u"_2 damaged.jpg", u"_3 pipe.jpg", u"_5 plain.jpg",
                   u"2001-02-03_6 digitized.jpg", u"_7 empty.jpg"}));
  EXPECT_FALSE(fifo.ReaderCameBy());
}

TEST(FileTextInsertionOnDiskTest, APipeAmongTheImagesIsSkippedAndNeverWaitedFor) {
  test::TempFolder folder;
  const std::string png = test::PngHeader(3, 2);
  folder.AddFile("a.png", png);
  test::WaitingFifo fifo(folder.Path() + "b.png");
  ASSERT_TRUE(fifo.Created());
  folder.AddFolder("c.png");
  folder.AddFile("d.png", png);
  const auto fs = MakeNativeFileSystem();
  MemorySettingsStore settings;
  EditorSession session(*fs, settings);
  session.LoadFolder(folder.Path16());
  ASSERT_EQ(test::LineTexts(session.Editor().Names()), (Names{u"a.png", u"b.png", u"d.png"}));
  session.Editor().SetSelection({0, 2, 0, 0}, {2, 0});
  session.InsertImageSize(u"WxH ");
  EXPECT_EQ(test::LineTexts(session.Editor().Names()), (Names{u"3x2 a.png", u"b.png", u"3x2 d.png"}));
  EXPECT_FALSE(fifo.ReaderCameBy());
}
#endif

}  // namespace
}  // namespace nomvarix
