// Kept edits against what a user does by hand between one run and the next, on the fake file
// system: renames, deletions, new files given freed inode numbers, hard links, files replaced by
// others of the same size and time, content changes, a remount that numbers every file anew.
// Whatever happened, an edit that comes back is on the very file it was made for, every edit of a
// file nobody touched comes back, and each one that does not is counted as dropped.
#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "support/FakeFileSystem.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

const std::u16string kFolder = u"/f/";

/// The fake file system and the truth about it: which file (by a number of the model's own, never
/// reused) each name shows, and which files were changed since their edits were kept.
class World {
 public:
  World(unsigned seed, const std::u16string& state) : random_(seed), state_(state), perMount_(seed % 2 == 1) {
    if (perMount_) fs_.SetIdentityPermanence(IdentityPermanence::PerMount);
    fs_.AddFolder(kFolder, {});
    for (int i = 0; i < 12; ++i) Create(NameOf(i), 0, std::nullopt);
  }

  /// One run: opens the folder, checks what came back against what the last run kept, edits some
  /// lines and keeps the edits.
  void RunOnce(const std::string& where) {
    MemorySettingsStore settings;
    EditorSession session(fs_, settings);
    session.SetKeptEditsFolder(state_);
    session.SwitchToFolder(kFolder);
    std::size_t restored = 0;
    for (const NameEntry& line : session.Editor().Names()) {
      if (line.newName == line.originalName) continue;
      ++restored;
      const auto kept = kept_.find(line.originalName);
      ASSERT_NE(kept, kept_.end()) << where << ": an edit nobody made on " << ToUtf8(line.originalName);
      ASSERT_EQ(kept->second.file, fileAt_.at(line.originalName))
          << where << ": the edit of file " << kept->second.file << " landed on file "
          << fileAt_.at(line.originalName) << " (" << ToUtf8(line.originalName) << ")";
      ASSERT_EQ(kept->second.renamed, line.newName) << where;
    }
    for (const auto& [name, edit] : kept_) {
      const auto at = fileAt_.find(name);
      const bool untouched = at != fileAt_.end() && at->second == edit.file && !changed_.contains(edit.file);
      if (!untouched) continue;
      const auto& names = session.Editor().Names();
      const auto line = std::find_if(names.begin(), names.end(), [&](const NameEntry& e) { return e.originalName == name; });
      ASSERT_NE(line, names.end()) << where;
      EXPECT_EQ(line->newName, edit.renamed) << where << ": lost the edit of an untouched file " << ToUtf8(name);
    }
    EXPECT_EQ(session.TakeDroppedKeptEdits(), kept_.size() - restored) << where;

    // New edits, and some set back.
    for (std::size_t line = 0; line < session.Editor().LineCount(); ++line) {
      const std::u16string& original = session.Editor().Names()[line].originalName;
      switch (random_() % 4) {
        case 0:
          session.Editor().SetNewName(line, u"neu " + FromUtf8(std::to_string(++counter_)) + u" é.jpg");
          break;
        case 1:
          session.Editor().SetNewName(line, original);
          break;
        default:
          break;
      }
    }
    ASSERT_TRUE(session.WriteKeptEdits()) << where;
    kept_.clear();
    changed_.clear();
    for (const NameEntry& line : session.Editor().Names()) {
      if (line.newName != line.originalName) kept_[line.originalName] = {fileAt_.at(line.originalName), line.newName};
    }
  }

  /// Between two runs: a handful of changes by hand.
  void ChangeByHand() {
    for (int n = static_cast<int>(random_() % 6); n > 0; --n) {
      const std::u16string name = AnyName();
      if (name.empty()) return;
      switch (random_() % 8) {
        case 0:  // renamed, often onto a name that had an edit
          if (const std::u16string to = FreeName(); fs_.RenameNoReplace(kFolder + name, kFolder + to) == RenameResult::Renamed) {
            fileAt_[to] = fileAt_.at(name);
            fileAt_.erase(name);
          }
          break;
        case 1:  // two names swapped through a third
          Swap(name, AnyName());
          break;
        case 2:
          Delete(name);
          break;
        case 3:  // deleted, and a new file takes its number and its name (as a save by copy does)
          Replace(name, true);
          break;
        case 4:  // replaced by a file of the same size and times, under a new number
          Replace(name, false);
          break;
        case 5:  // a second name for the same file
          if (const std::u16string link = FreeName(); fs_.AddHardLink(kFolder + name, kFolder + link)) {
            fileAt_[link] = fileAt_.at(name);
          }
          break;
        case 6: {  // its content changed: the same file, which may lose its edit but never gains another
          const int file = fileAt_.at(name);
          FileAttributes& attributes = attributes_[file];
          attributes = {attributes.size.value_or(0) + 1, ++clock_, attributes.created};
          fs_.SetAttributes(kFolder + name, attributes);
          changed_.insert(file);
          break;
        }
        default:  // mounted again: a file system that numbers per mount numbers every file anew
          if (perMount_) Remount();
          break;
      }
    }
  }

 private:
  struct Kept {
    int file = 0;
    std::u16string renamed;
  };

  static std::u16string NameOf(int i) {
    static const std::u16string kStems[] = {u"Dächer ", u"日記 ", u"\xDC80raw ", u"😀 "};
    return kStems[i % 4] + FromUtf8(std::to_string(i)) + u".jpg";
  }
  std::u16string AnyName() {
    if (fileAt_.empty()) return {};
    auto it = fileAt_.begin();
    std::advance(it, static_cast<long>(random_() % fileAt_.size()));
    return it->first;
  }
  /// A name nothing has now: one that had a file before, or a new one.
  std::u16string FreeName() {
    for (int tries = 0; tries < 20; ++tries) {
      const std::u16string name = NameOf(static_cast<int>(random_() % 20));
      if (!fileAt_.contains(name)) return name;
    }
    return u"frei " + FromUtf8(std::to_string(++counter_));
  }

  void Create(const std::u16string& name, std::uint64_t inode, std::optional<FileAttributes> like) {
    const FileAttributes attributes = like ? FileAttributes{like->size, like->modified, ++clock_}
                                           : FileAttributes{random_() % 4, ++clock_, clock_};
    const int file = ++files_;
    fs_.AddFile(kFolder + name, attributes, inode);
    fileAt_[name] = file;
    attributes_[file] = attributes;
  }
  void Delete(const std::u16string& name) {
    fs_.RemoveFile(kFolder + name);
    fileAt_.erase(name);
  }
  /// The file at `name` deleted and another put there with its size and modification time, under
  /// its inode number when no other name holds that.
  void Replace(const std::u16string& name, bool sameNumber) {
    const std::uint64_t inode = fs_.InodeOf(kFolder + name);
    const FileAttributes old = attributes_[fileAt_.at(name)];
    Delete(name);
    bool linked = false;
    for (const auto& [other, file] : fileAt_) linked = linked || fs_.InodeOf(kFolder + other) == inode;
    Create(name, sameNumber && !linked ? inode : 0, old);
  }
  void Swap(const std::u16string& a, const std::u16string& b) {
    if (a == b) return;
    const std::u16string through = u"swap.tmp";
    fs_.RenameNoReplace(kFolder + a, kFolder + through);
    fs_.RenameNoReplace(kFolder + b, kFolder + a);
    fs_.RenameNoReplace(kFolder + through, kFolder + b);
    std::swap(fileAt_.at(a), fileAt_.at(b));
  }
  void Remount() {
    // Numbers never given before, so that no file takes over what a deleted one left.
    std::map<std::uint64_t, std::uint64_t> renumbered;
    for (const auto& [name, file] : fileAt_) renumbered.try_emplace(fs_.InodeOf(kFolder + name), ++mountNumbers_);
    fs_.Renumber(renumbered);
  }

  std::mt19937 random_;
  std::u16string state_;
  bool perMount_;
  test::FakeFileSystem fs_;
  std::map<std::u16string, int> fileAt_;
  std::map<int, FileAttributes> attributes_;
  std::map<std::u16string, Kept> kept_;
  std::set<int> changed_;
  int files_ = 0;
  std::uint64_t mountNumbers_ = 1'000'000'000'000;
  int counter_ = 0;
  std::int64_t clock_ = 1'000'000'000;
};

void RunSeed(unsigned seed) {
  test::TempFolder state;
  World world(seed, state.Path16());
  for (int run = 0; run < 6 && !::testing::Test::HasFatalFailure(); ++run) {
    world.RunOnce("seed " + std::to_string(seed) + " run " + std::to_string(run));
    world.ChangeByHand();
  }
}

TEST(KeptEditsModelTest, AnEditNeverComesBackOnAnotherFile) {
  for (unsigned seed = 1; seed <= 100 && !HasFatalFailure(); ++seed) RunSeed(seed);
  const unsigned fresh = std::random_device{}();
  std::cout << "fresh seed: " << fresh << std::endl;
  RecordProperty("fresh_seed", std::to_string(fresh));
  RunSeed(fresh);
}

}  // namespace
}  // namespace nomvarix
