#include "apply/HistoryUndo.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <map>
#include <random>

#include "apply/JournalledApply.h"
#include "support/FakeFileSystem.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

const std::u16string kFolder = u"/f/";

std::u16string ByteFF() { return {u'b', u'a', u'd', char16_t(0xDCFF)}; }

struct PlanCase {
  const char* what;
  /// The folder's files as (name, inode); the entry's files are inodes 1 (a -> b) and 2 (b -> c),
  /// renamed 2 first, then 1 (a chain).
  std::vector<std::pair<std::u16string, std::uint64_t>> disk;
  UndoChoice choice;
  std::vector<UndoAction> actions;
  std::vector<bool> moves;
  std::vector<std::pair<std::u16string, std::u16string>> batch;
};

HistoryEntry ChainEntry() {
  return {"e", 0, HistoryKind::Apply, kFolder, {}, {{{1, 2}, u"b", u"c"}, {{1, 1}, u"a", u"b"}}};
}

TEST(HistoryUndoTest, EachFileGoesBackOnlyWhenItIsItselfAndItsOldNameIsFree) {
  using A = UndoAction;
  const PlanCase cases[] = {
      {"chain unwinds newest first", {{u"b", 1}, {u"c", 2}}, {}, {A::MoveBack, A::MoveBack}, {true, true},
       {{u"b", u"a"}, {u"c", u"b"}}},
      {"old name taken by a file that stays", {{u"b", 1}, {u"c", 2}, {u"a", 9}}, {},
       {A::OldNameTaken, A::OldNameTaken}, {false, false}, {}},
      {"only the later file chosen: its old name is held", {{u"b", 1}, {u"c", 2}}, {{true, false}, false},
       {A::OldNameTaken, A::NotChosen}, {false, false}, {}},
      {"re-created under the new name with another identity", {{u"b", 7}, {u"c", 8}}, {}, {A::Gone, A::Gone},
       {false, false}, {}},
      {"renamed since: asked first", {{u"x", 1}, {u"c", 2}}, {}, {A::MoveBack, A::MoveBackFromElsewhere},
       {true, false}, {{u"c", u"b"}}},
      {"renamed since, and the user agreed", {{ByteFF(), 1}, {u"c", 2}}, {{}, true},
       {A::MoveBack, A::MoveBackFromElsewhere}, {true, true}, {{ByteFF(), u"a"}, {u"c", u"b"}}},
      {"undone already", {{u"a", 1}, {u"b", 2}}, {}, {A::AlreadyBack, A::AlreadyBack}, {false, false}, {}},
      {"one gone", {{u"b", 1}}, {}, {A::Gone, A::MoveBack}, {false, true}, {{u"b", u"a"}}},
  };
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakeFileSystem fs;
    fs.AddFolder(kFolder, {});
    for (const auto& [name, inode] : c.disk) fs.AddFile(kFolder + name, {}, inode);
    const HistoryEntry entry = ChainEntry();
    const std::vector<UndoFile> plan = PlanUndo(entry, fs, c.choice);
    ASSERT_EQ(plan.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(plan[i].action, c.actions[i]) << i;
      EXPECT_EQ(plan[i].moves, c.moves[i]) << i;
    }
    std::vector<std::pair<std::u16string, std::u16string>> batch;
    for (const NameEntry& line : UndoBatch(entry, plan)) batch.emplace_back(line.originalName, line.newName);
    EXPECT_EQ(batch, c.batch);
  }
}

TEST(HistoryUndoTest, TheStateSaysWhetherEveryFewOrNoFilesWouldGoBack) {
  const struct {
    std::vector<std::pair<std::u16string, std::uint64_t>> disk;
    HistoryState state;
  } cases[] = {
      {{{u"b", 1}, {u"c", 2}}, HistoryState::CanBeUndone},
      {{{u"b", 1}}, HistoryState::Partly},
      {{{u"a", 1}, {u"c", 2}}, HistoryState::Partly},
      {{{u"a", 1}, {u"b", 2}}, HistoryState::Undone},
      {{{u"x", 1}, {u"y", 2}}, HistoryState::CannotBeUndone},
  };
  for (const auto& c : cases) {
    test::FakeFileSystem fs;
    fs.AddFolder(kFolder, {});
    for (const auto& [name, inode] : c.disk) fs.AddFile(kFolder + name, {}, inode);
    EXPECT_EQ(HistoryStateText(StateOf(ChainEntry(), fs)), HistoryStateText(c.state));
  }
}

TEST(HistoryUndoTest, NamesThatReachOutsideTheFolderAreNeverMoved) {
  test::FakeFileSystem fs;
  fs.AddFolder(kFolder, {});
  fs.AddFolder(u"/secret/", {});
  fs.AddFile(u"/secret/x", {}, 1);
  fs.AddFile(kFolder + u"b", {}, 2);
  // An entry made in memory, not read from a file (which refuses such names).
  const HistoryEntry entry{"e", 0, HistoryKind::Apply, kFolder, {},
                           {{{1, 1}, u"../secret/y", u"../secret/x"}, {{1, 2}, u"../a", u"b"}}};
  const std::vector<UndoFile> plan = PlanUndo(entry, fs, {{}, true});
  EXPECT_TRUE(UndoBatch(entry, plan).empty());
  EXPECT_EQ(fs.FileNames(u"/secret/"), std::vector<std::u16string>{u"x"});
}

// Swaps and rotations go through a temporary name when applied; their undo is one too, and must
// bring every file back under its own old name, on both kinds of file system.
TEST(HistoryUndoTest, SwapsAndRotationsAreUndoneExactly) {
  const struct {
    const char* what;
    std::vector<std::pair<std::u16string, std::u16string>> renames;  // old -> new, by line
  } cases[] = {
      {"swap", {{u"a.txt", u"b.txt"}, {u"b.txt", u"a.txt"}}},
      {"rotation with a case change", {{u"x", u"Y"}, {u"Y", u"\u65E5\u8A18"}, {u"\u65E5\u8A18", u"X"}}},
      {"shift into a free name", {{u"1", u"2"}, {u"2", u"3"}, {u"3", u"4"}}},
      {"two swaps", {{u"p", u"q"}, {u"q", u"p"}, {u"\U0001F600", ByteFF()}, {ByteFF(), u"\U0001F600"}}},
  };
  for (const auto& c : cases) {
    for (const bool caseInsensitive : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (caseInsensitive ? ", case-insensitive" : ""));
      test::FakeFileSystem fs;
      fs.SetCaseInsensitive(caseInsensitive);
      fs.AddFolder(kFolder, {});
      NameList batch;
      std::map<std::u16string, std::uint64_t> before;
      for (const auto& [from, to] : c.renames) {
        before[from] = fs.AddFile(kFolder + from, {});
        NameEntry& line = batch.emplace_back();
        line.originalName = from;
        line.lineText = line.newName = to;
      }
      const RenamePlan plan = PlanRenames(batch, kFolder, fs);
      const JournalledBatch applied = RenameUnderJournal(batch, kFolder, plan, fs, false, NoProgress(), {}, true);
      ASSERT_EQ(applied.batch.SkippedCount(), 0u);
      const HistoryEntry entry = EntryOfBatch(HistoryKind::Apply, kFolder, plan, applied.batch);
      ASSERT_EQ(entry.files.size(), c.renames.size());

      const std::vector<UndoFile> undo = PlanUndo(entry, fs, {});
      EXPECT_EQ(StateOf(entry, fs), HistoryState::CanBeUndone);
      NameList undoBatch = UndoBatch(entry, undo);
      RenamePlan undoPlan = PlanRenames(undoBatch, kFolder, fs);
      ExpectRecordedIdentities(entry, undo, undoBatch, undoPlan);
      const JournalledBatch undone = RenameUnderJournal(undoBatch, kFolder, undoPlan, fs, false, NoProgress(), {}, true);
      EXPECT_EQ(undone.batch.SkippedCount(), 0u);
      ASSERT_EQ(fs.FileNames(kFolder).size(), before.size());
      for (const auto& [name, inode] : before) {
        const std::optional<FileIdentity> now = fs.IdentityOf(kFolder + name);
        ASSERT_TRUE(now) << ToUtf8(name) << " is gone";
        EXPECT_EQ(now->file, inode) << ToUtf8(name) << " holds another file";
      }
    }
  }
}

/// Random applies, undos of random entries, and changes from outside, against a model of the
/// folder: the names of the files by identity. Every undo is checked against the model's own way
/// of undoing: each chosen file, latest rename first, goes from where it is to its old name when it
/// is still the recorded file and the old name is free at its turn.
class HistoryModel {
 public:
  explicit HistoryModel(unsigned seed) : random_(seed) {}

  /// How many files the undos moved back.
  std::size_t UndoneFiles() const { return undone_; }

  std::string Run() {
    fs_.AddFolder(kFolder, {});
    for (int i = 0; i < 12; ++i) Create(Pool(i));
    for (int step = 0; step < 60; ++step) {
      const int what = Pick(0, 9);
      if (what < 4) {
        Apply();
      } else if (what < 7) {
        Undo();
      } else if (what == 7) {
        RenameFromOutside();
      } else if (what == 8) {
        DeleteFromOutside();
      } else {
        Create(Pool(Pick(0, kPoolSize - 1)));  // often a name an entry records: a new file under it
      }
      if (const std::string fault = Compare(); !fault.empty()) return "step " + std::to_string(step) + ": " + fault;
      if (!fault_.empty()) return fault_;
    }
    return {};
  }

 private:
  static constexpr int kPoolSize = 24;
  using Disk = std::map<std::u16string, std::uint64_t>;

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::u16string Pool(int i) const {
    static const std::u16string kinds[] = {u"\U0001F600 ", u"trailing ", u"Stra\u00dfe ", ByteFF() + u" "};
    return kinds[i % 4] + FromUtf8(std::to_string(i)) + (i % 3 == 0 ? u" " : u".jpg");
  }

  std::u16string RandomName() { return Pool(Pick(0, kPoolSize - 1)); }
  std::u16string RandomFile() {
    if (model_.empty()) return {};
    auto it = model_.begin();
    std::advance(it, Pick(0, static_cast<int>(model_.size()) - 1));
    return it->first;
  }

  void Create(const std::u16string& name) {
    if (model_.contains(name)) return;
    model_[name] = fs_.AddFile(kFolder + name, {});
  }

  void RenameFromOutside() {
    const std::u16string from = RandomFile();
    const std::u16string to = RandomName();
    if (from.empty() || model_.contains(to)) return;
    ASSERT_RENAMED(fs_.RenameNoReplace(kFolder + from, kFolder + to));
    model_[to] = model_[from];
    model_.erase(from);
  }

  void DeleteFromOutside() {
    const std::u16string name = RandomFile();
    if (name.empty()) return;
    fs_.RemoveFile(kFolder + name);
    model_.erase(name);
  }

  void ASSERT_RENAMED(RenameResult result) {
    if (result != RenameResult::Renamed && fault_.empty()) fault_ = "a rename from outside failed";
  }

  /// Renames a batch through the apply, and the model the way it expects: in order, each file to
  /// its new name when that is free at its turn.
  RenameBatchResult Rename(NameList batch, const std::function<void(NameList&, RenamePlan&)>& adjust) {
    RenamePlan plan = PlanRenames(batch, kFolder, fs_);
    adjust(batch, plan);
    JournalledBatch done = RenameUnderJournal(batch, kFolder, plan, fs_, false, NoProgress(), {}, true);
    plan_ = std::move(plan);
    return std::move(done.batch);
  }

  void Apply() {
    NameList batch;
    for (const auto& [name, inode] : model_) {
      if (Pick(0, 2) != 0) continue;
      NameEntry& line = batch.emplace_back();
      line.originalName = name;
      line.lineText = line.newName = RandomName();
    }
    const RenameBatchResult done = Rename(batch, [](NameList&, RenamePlan&) {});
    // Which lines an apply renames (chains, swaps, names taken) is its own model test's matter; here
    // the model follows the renames it reports, and no file may land on a name another file keeps.
    Disk expected = model_;
    for (const NameEntry& record : done.revertList) expected.erase(record.newName);
    for (const NameEntry& record : done.revertList) {
      if (!expected.emplace(record.originalName, model_.at(record.newName)).second) fault_ = "an apply overwrote a file";
    }
    model_ = std::move(expected);
    HistoryEntry entry = EntryOfBatch(HistoryKind::Apply, kFolder, plan_, done);
    if (!entry.files.empty()) history_.push_back(std::move(entry));
  }

  void Undo() {
    if (history_.empty()) return;
    const HistoryEntry& entry = history_[static_cast<std::size_t>(Pick(0, static_cast<int>(history_.size()) - 1))];
    UndoChoice choice;
    if (Pick(0, 1)) {
      for (std::size_t i = 0; i < entry.files.size(); ++i) choice.chosen.push_back(Pick(0, 2) != 0);
    }
    choice.elsewhereToo = Pick(0, 1);
    const std::vector<UndoFile> plan = PlanUndo(entry, fs_, choice);
    // The model's undo: every file the plan moves goes back, at once, as the apply orders chains
    // and swaps; the plan may move only a chosen file, found by identity, under its new name unless
    // the user agreed to look elsewhere, onto a name that is free or that another moving file leaves.
    Disk expected = model_;
    for (const UndoFile& file : plan) {
      if (!file.moves) continue;
      const HistoryFile& recorded = entry.files[file.index];
      if (!choice.chosen.empty() && !choice.chosen[file.index]) fault_ = "an undo would move a file not chosen";
      if (file.nameNow != recorded.newName && !choice.elsewhereToo) fault_ = "an undo would move a file found elsewhere";
      expected.erase(file.nameNow);
    }
    for (const UndoFile& file : plan) {
      if (!file.moves) continue;
      const HistoryFile& recorded = entry.files[file.index];
      if (!expected.emplace(recorded.oldName, recorded.identity.file).second) fault_ = "an undo would overwrite a file";
    }
    CheckPlanAgainstDisk(entry, plan);
    const NameList batch = UndoBatch(entry, plan);
    const RenameBatchResult done = Rename(batch, [&](NameList& lines, RenamePlan& renamePlan) {
      ExpectRecordedIdentities(entry, plan, lines, renamePlan);
    });
    model_ = std::move(expected);
    undone_ += done.revertList.size();
    HistoryEntry record = EntryOfBatch(HistoryKind::Undo, kFolder, plan_, done);
    if (!record.files.empty()) history_.push_back(std::move(record));
  }

  /// A planned move is always the recorded file onto a name that is free or left by a file that moves too.
  void CheckPlanAgainstDisk(const HistoryEntry& entry, const std::vector<UndoFile>& plan) {
    for (const UndoFile& file : plan) {
      if (!file.moves) continue;
      const HistoryFile& recorded = entry.files[file.index];
      const auto now = model_.find(file.nameNow);
      if (now == model_.end() || now->second != recorded.identity.file) fault_ = "an undo would move another file";
      const auto holder = model_.find(recorded.oldName);
      if (holder == model_.end()) continue;
      const bool leaves = std::any_of(plan.begin(), plan.end(), [&](const UndoFile& other) {
        return other.moves && other.nameNow == recorded.oldName;
      });
      if (!leaves) fault_ = "an undo would overwrite " + ToUtf8(recorded.oldName);
    }
  }

  std::string Compare() const {
    Disk disk;
    for (const std::u16string& name : fs_.FileNames(kFolder)) disk[name] = fs_.InodeOf(kFolder + name);
    if (disk == model_) return {};
    std::string text = "disk:";
    for (const auto& [name, inode] : disk) text += " " + ToUtf8(name) + "=" + std::to_string(inode);
    text += "\nmodel:";
    for (const auto& [name, inode] : model_) text += " " + ToUtf8(name) + "=" + std::to_string(inode);
    return text;
  }

  std::mt19937 random_;
  test::FakeFileSystem fs_;
  Disk model_;
  std::vector<HistoryEntry> history_;
  RenamePlan plan_;
  std::string fault_;
  std::size_t undone_ = 0;
};

TEST(HistoryUndoTest, RandomAppliesUndosAndOutsideChangesMatchTheModel) {
  std::vector<unsigned> seeds;
  for (unsigned seed = 1; seed <= 150; ++seed) seeds.push_back(seed);
  const unsigned fresh = std::random_device()();
  std::cout << "fresh seed of the history model: " << fresh << "\n";
  seeds.push_back(fresh);
  std::size_t undone = 0;
  for (const unsigned seed : seeds) {
    HistoryModel model(seed);
    const std::string fault = model.Run();
    ASSERT_TRUE(fault.empty()) << "seed " << seed << ": " << fault;
    undone += model.UndoneFiles();
  }
  EXPECT_GT(undone, 500u);  // the undos did undo
}

}  // namespace
}  // namespace nomvarix
