#include "editor/DelayedProgress.h"

#include <vector>

#include <gtest/gtest.h>

#include "editor/NameEditor.h"
#include "support/CancellingProgress.h"
#include "support/FakeFileSystem.h"

namespace nomvarix {
namespace {

using namespace std::chrono_literals;
using Clock = DelayedProgress::Clock;

/// A progress on a clock the test moves; it keeps what it was asked to show.
class RecordingProgress final : public DelayedProgress {
 public:
  RecordingProgress(const Clock::time_point& now, int& clockReads)
      : DelayedProgress({},
                        [&now, &clockReads] {
                          ++clockReads;
                          return now;
                        }),
        clock_(now) {}

  struct Shown {
    std::size_t done;
    Clock::time_point at;
  };
  std::vector<Shown> shown;
  bool userCancels = false;

 protected:
  bool Present(std::size_t done, std::size_t) override {
    shown.push_back({done, clock_});
    return !userCancels;
  }

 private:
  const Clock::time_point& clock_;
};

class DelayedProgressTest : public ::testing::Test {
 protected:
  /// Items from `from` to `to`, each taking `each`.
  bool Run(std::size_t from, std::size_t to, Clock::duration each) {
    for (std::size_t done = from; done < to; ++done) {
      now += each;
      if (!progress.Advance(done, to)) return false;
    }
    return true;
  }

  Clock::time_point now{};
  int clockReads = 0;
  RecordingProgress progress{now, clockReads};
};

TEST_F(DelayedProgressTest, ShowsOnlyAfterTheDelayThenAtMostOncePerInterval) {
  ASSERT_TRUE(Run(0, 450, 1ms));
  EXPECT_TRUE(progress.shown.empty());
  ASSERT_TRUE(Run(450, 1500, 1ms));
  ASSERT_FALSE(progress.shown.empty());
  EXPECT_GE(progress.shown.front().at - Clock::time_point{}, 500ms);
  EXPECT_LE(progress.shown.front().at - Clock::time_point{}, 510ms);
  EXPECT_GE(progress.shown.size(), 9u);
  EXPECT_LE(progress.shown.size(), 11u);
  for (std::size_t i = 1; i < progress.shown.size(); ++i) {
    EXPECT_GE(progress.shown[i].at - progress.shown[i - 1].at, 100ms);
    EXPECT_GT(progress.shown[i].done, progress.shown[i - 1].done);
  }
}

TEST_F(DelayedProgressTest, FastItemsReadTheClockRarely) {
  ASSERT_TRUE(Run(0, 1000000, 1us));
  EXPECT_LT(clockReads, 1000000 / 100);
  // Still shown in time and kept up to date.
  ASSERT_FALSE(progress.shown.empty());
  EXPECT_LE(progress.shown.front().at - Clock::time_point{}, 510ms);
  EXPECT_GE(progress.shown.size(), 4u);
}

TEST_F(DelayedProgressTest, ACancelIsFinal) {
  ASSERT_TRUE(Run(0, 550, 1ms));
  ASSERT_EQ(progress.shown.size(), 1u);
  progress.userCancels = true;
  EXPECT_FALSE(Run(550, 2000, 1ms));
  EXPECT_TRUE(progress.Cancelled());
  const std::size_t shownAtCancel = progress.shown.size();
  EXPECT_FALSE(progress.Advance(5000, 6000));
  EXPECT_FALSE(progress.Advance(5001, 6000));
  EXPECT_EQ(progress.shown.size(), shownAtCancel);
}

TEST(CancelledFolderLoadTest, LeavesAnEmptyListAsAnUnlistedFolderDoes) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {u"a", u"b", u"c", u"d"});
  fs.AddFolder(u"/g/", {u"x", u"y"});
  NameEditor editor;
  ASSERT_TRUE(editor.LoadFolder(fs, u"/g/", {}));

  test::CancellingProgress cancelAfterThree(3);
  EXPECT_FALSE(editor.LoadFolder(fs, u"/f/", {}, {}, cancelAfterThree));
  EXPECT_TRUE(cancelAfterThree.Cancelled());
  EXPECT_EQ(editor.LineCount(), 0u);
  EXPECT_EQ(editor.Keys().size(), 0u);
  EXPECT_TRUE(editor.CurrentFolder().empty());
  EXPECT_FALSE(editor.AnyNameChanged());

  // Told of every entry read, folders and hidden ones too, with no total.
  test::CancellingProgress never(static_cast<std::size_t>(-1));
  EXPECT_TRUE(editor.LoadFolder(fs, u"/f/", {}, {}, never));
  EXPECT_EQ(editor.LineCount(), 4u);
}

/// Paints the editor, as the window does while a progress dialog lets events through.
class PaintingProgress final : public WorkProgress {
 public:
  explicit PaintingProgress(const NameEditor& editor) : editor_(editor) {}
  bool Advance(std::size_t, std::size_t) override {
    editor_.LongestLineLength();
    return true;
  }
  bool Cancelled() const override { return false; }

 private:
  const NameEditor& editor_;
};

TEST(CancelledFolderLoadTest, APaintDuringTheListingLeavesNoStaleWidth) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/short/", {u"a"});
  fs.AddFolder(u"/long/", {u"a-much-longer-name.txt"});
  NameEditor editor;
  ASSERT_TRUE(editor.LoadFolder(fs, u"/short/", {}));
  PaintingProgress painting(editor);
  ASSERT_TRUE(editor.LoadFolder(fs, u"/long/", {}, {}, painting));
  EXPECT_EQ(editor.LongestLineLength(), 22);
}

}  // namespace
}  // namespace nomvarix
