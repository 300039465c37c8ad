#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <random>
#include <set>

#include "apply/InterruptedRename.h"
#include "apply/RenameBatch.h"
#include "editor/NameSplit.h"
#include "support/CancellingProgress.h"
#include "support/FakeFileSystem.h"
#include "text/AsciiCase.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;
const std::u16string kFolder = u"/f/";

/// One run of the model: a folder, an apply cut short, changes made from outside before the next
/// start, then the recovery. Every file carries a token that no rename, link or renumbering
/// changes, so that the test knows which file each rename moved.
class RecoveryModel {
 public:
  explicit RecoveryModel(unsigned seed) : random_(seed) {}

  /// Runs the model; an empty text when every rename the recovery tried was allowed, else what
  /// went wrong. `undisturbed` is set when nothing changed from outside.
  std::string Run(bool& undisturbed) {
    MakeFolder();
    Crash();
    // One run in five sees no change from outside: there recovery must set everything right.
    undisturbed = Pick(0, 4) == 0;
    const int changes = undisturbed ? 0 : Pick(1, 10);
    for (int i = 0; i < changes; ++i) ChangeFromOutside();
    const RecoveryChoice choice = Pick(0, 1) ? RecoveryChoice::Undo : RecoveryChoice::Keep;
    const InterruptedRename rename(journal_, fs_);
    // Another instance at work while the question is open.
    const int meanwhile = !undisturbed && Pick(0, 2) == 0 ? Pick(1, 3) : 0;
    for (int i = 0; i < meanwhile; ++i) Pick(0, 1) ? SwapTwoNames() : ReplaceAFile();
    std::string fault;
    fs_.beforeRename = [&](std::u16string_view from, std::u16string_view to) {
      if (fault.empty()) fault = CheckMove(from, to);
    };
    rename.Settle(choice, fs_);
    if (fault.empty() && undisturbed) fault = CheckSetRight(choice);
    return fault;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::u16string Name(const char* pattern, int n) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, n);
    return FromUtf8(text);
  }

  FileAttributes FreshAttributes() {
    // Every write gets a later modification time than any before it, as a clock does.
    clock_ += Pick(1, 1000);
    FileAttributes attributes{static_cast<std::uint64_t>(Pick(0, 3)) * 1000, clock_, std::nullopt};
    if (keepsBirthTime_) attributes.created = clock_;
    return attributes;
  }

  void AddFile(const std::u16string& name, std::uint64_t inode = 0) {
    const std::uint64_t number = fs_.AddFile(kFolder + name, FreshAttributes(), inode);
    tokenOfInode_[number] = ++lastToken_;
  }

  void MakeFolder() {
    fs_.AddFolder(kFolder, {});
    if (Pick(0, 1)) fs_.SetIdentityPermanence(IdentityPermanence::PerMount);
    keepsBirthTime_ = Pick(0, 1);
    const char* patterns[] = {"D\xC3\xA4" "cher %d.jpg", "\xE6\x97\xA5\xE8\xA8\x98 %d.txt", "Stra\xC3\x9F" "e %d.png",
                              "\xF0\x9F\x93\xB7 %d.heic", "Photo %d.JPG"};
    const int files = Pick(2, 7);
    for (int i = 0; i < files; ++i) AddFile(Name(patterns[Pick(0, 4)], i));
    const Names names = fs_.FileNames(kFolder);
    for (const std::u16string& name : names) {
      NameEntry& entry = list_.emplace_back();
      entry.originalName = entry.lineText = entry.newName = name;
      switch (Pick(0, 3)) {
        case 0: break;  // unchanged
        case 1: entry.newName = Name("Urlaub %d.jpg", Pick(0, 3)); break;  // may repeat: numbered forms
        case 2: entry.newName = names[Pick(0, static_cast<int>(names.size()) - 1)]; break;  // taken
        default: entry.newName = FoldAscii(name);  // a new spelling, through a temporary name
      }
      entry.lineText = entry.newName;
    }
  }

  /// Plans and writes the journal, then renames the first lines only, as a kill would leave it; a
  /// file may be caught under its temporary name.
  void Crash() {
    const RenamePlan plan = PlanRenames(list_, kFolder, fs_);
    journal_ = plan.journal;
    for (const JournalStep& step : journal_.steps) stepOfToken_[TokenAt(step.before)] = &step;
    const std::size_t reached = static_cast<std::size_t>(Pick(0, static_cast<int>(list_.size())));
    test::CancellingProgress progress(reached);
    RenameFiles(list_, kFolder, fs_, true, progress, &plan);
    for (std::size_t line = reached; line < list_.size(); ++line) {
      if (plan.temporaries[line].empty() || Pick(0, 1)) continue;
      fs_.RenameNoReplace(kFolder + list_[line].originalName, kFolder + plan.temporaries[line]);
      break;
    }
  }

  std::uint64_t TokenAt(const std::u16string& name) const {
    const auto it = tokenOfInode_.find(fs_.InodeOf(kFolder + name));
    return it == tokenOfInode_.end() ? 0 : it->second;
  }

  /// A name chosen to catch a careless recovery: one that a step could have left, or a new one.
  std::u16string TrapName() {
    if (journal_.steps.empty() || Pick(0, 5) == 0) return Name("Neue Notiz %d.txt", Pick(0, 1000));
    const JournalStep& step = journal_.steps[Pick(0, static_cast<int>(journal_.steps.size()) - 1)];
    switch (Pick(0, 3)) {
      case 0: return step.before;
      case 1: return step.after;
      case 2: return step.temporary.empty() ? step.after : step.temporary;
      default: {
        const SplitName split = SplitAtLastDot(step.after);
        return std::u16string(split.base) + u"_00001" + std::u16string(split.dotExt);
      }
    }
  }

  std::u16string AnyFile() {
    const Names names = fs_.FileNames(kFolder);
    return names.empty() ? std::u16string() : names[Pick(0, static_cast<int>(names.size()) - 1)];
  }

  void ChangeFromOutside() {
    const std::u16string file = AnyFile();
    // Renames, new files and remounts are what catch a careless recovery: weighted up.
    switch (std::discrete_distribution<int>({3, 1, 3, 1, 1, 2, 2})(random_)) {
      case 0:  // renamed by hand
        if (!file.empty()) fs_.RenameNoReplace(kFolder + file, kFolder + TrapName());
        break;
      case 1:  // deleted, its number free again
        if (!file.empty()) {
          const std::uint64_t inode = fs_.InodeOf(kFolder + file);
          fs_.RemoveFile(kFolder + file);
          if (!InUse(inode)) freed_.push_back(inode);
        }
        break;
      case 2: {  // a new file, given a freed number where there is one
        const std::u16string name = TrapName();
        if (fs_.EntryExists(kFolder + name)) break;
        std::uint64_t inode = 0;
        if (!freed_.empty()) {
          inode = freed_.back();
          freed_.pop_back();
        }
        AddFile(name, inode);
        break;
      }
      case 3:  // a hard link
        if (!file.empty()) fs_.AddHardLink(kFolder + file, kFolder + TrapName());
        break;
      case 4:  // written to
        if (!file.empty()) fs_.SetAttributes(kFolder + file, FreshAttributes());
        break;
      case 5:  // mounted again: a file system that numbers per mount gives other numbers
        if (fs_.IdentityPermanenceOf(kFolder) == IdentityPermanence::PerMount) Remount();
        break;
      default:  // copied with its size and times kept, as a backup tool does
        CopyKeepingTimes(file);
    }
  }

  /// A copy gets a birth time of its own; where a file system keeps none and numbers per mount, a
  /// copy under the very name the original had is the same to any observer, so none is made there.
  void CopyKeepingTimes(const std::u16string& file) {
    const std::u16string name = TrapName();
    if (file.empty() || fs_.EntryExists(kFolder + name)) return;
    if (!keepsBirthTime_ && fs_.IdentityPermanenceOf(kFolder) == IdentityPermanence::PerMount) return;
    FileAttributes attributes = fs_.StampOf(kFolder + file)->attributes;
    if (keepsBirthTime_) attributes.created = FreshAttributes().created;
    tokenOfInode_[fs_.AddFile(kFolder + name, attributes)] = ++lastToken_;
  }

  /// Two files trade names, as another instance renaming them would.
  void SwapTwoNames() {
    const std::u16string a = AnyFile();
    const std::u16string b = AnyFile();
    if (a == b || fs_.RenameNoReplace(kFolder + a, kFolder + u"swap") != RenameResult::Renamed) return;
    fs_.RenameNoReplace(kFolder + b, kFolder + a);
    fs_.RenameNoReplace(kFolder + u"swap", kFolder + b);
  }

  /// A file deleted and a new one written under its name, given its number.
  void ReplaceAFile() {
    const std::u16string file = AnyFile();
    if (file.empty()) return;
    const std::uint64_t inode = fs_.InodeOf(kFolder + file);
    fs_.RemoveFile(kFolder + file);
    AddFile(file, InUse(inode) ? 0 : inode);
  }

  /// Whether a name still holds the number (a hard link does when another name was deleted).
  bool InUse(std::uint64_t inode) const {
    const Names names = fs_.FileNames(kFolder);
    return std::any_of(names.begin(), names.end(), [&](const auto& n) { return fs_.InodeOf(kFolder + n) == inode; });
  }

  void Remount() {
    std::vector<std::uint64_t> numbers;
    for (const auto& [inode, token] : tokenOfInode_) numbers.push_back(inode);
    std::vector<std::uint64_t> shuffled = numbers;
    std::shuffle(shuffled.begin(), shuffled.end(), random_);
    std::map<std::uint64_t, std::uint64_t> renumbered;
    std::map<std::uint64_t, std::uint64_t> tokens;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      renumbered[numbers[i]] = shuffled[i];
      tokens[shuffled[i]] = tokenOfInode_[numbers[i]];
    }
    fs_.Renumber(renumbered);
    tokenOfInode_ = std::move(tokens);
    freed_.clear();
  }

  /// A move is allowed only for a file the journal was about, from a name its step could have left
  /// to another such name.
  std::string CheckMove(std::u16string_view fromPath, std::u16string_view toPath) const {
    const std::u16string from(fromPath.substr(kFolder.size()));
    const std::u16string to(toPath.substr(kFolder.size()));
    const auto step = stepOfToken_.find(TokenAt(from));
    if (step == stepOfToken_.end()) return "moved a file the journal was not about: " + ToUtf8(from);
    const JournalStep& s = *step->second;
    const auto mayLeave = [&](const std::u16string& name) {
      return name == s.before || name == s.after || (!s.temporary.empty() && name == s.temporary) ||
             NameBeforeNumbering(name) == s.after;
    };
    if (!mayLeave(from) || !mayLeave(to)) {
      return "moved " + ToUtf8(s.before) + " from " + ToUtf8(from) + " to " + ToUtf8(to);
    }
    return {};
  }

  /// Without changes from outside, Undo brings every name back and Keep leaves no temporary name.
  std::string CheckSetRight(RecoveryChoice choice) const {
    Names now = fs_.FileNames(kFolder);
    if (choice == RecoveryChoice::Undo) {
      Names before;
      for (const NameEntry& entry : list_) before.push_back(entry.originalName);
      std::sort(now.begin(), now.end());
      std::sort(before.begin(), before.end());
      return now == before ? std::string() : "undo did not bring every name back";
    }
    const bool temporary = std::any_of(now.begin(), now.end(), [](const auto& n) { return n.starts_with(u".nomvarix-"); });
    return temporary ? "keep left a file under its temporary name" : "";
  }

  std::mt19937 random_;
  test::FakeFileSystem fs_;
  NameList list_;
  RenameJournal journal_;
  bool keepsBirthTime_ = false;
  std::int64_t clock_ = 1'700'000'000'000'000'000;
  std::uint64_t lastToken_ = 0;
  std::map<std::uint64_t, std::uint64_t> tokenOfInode_;
  std::map<std::uint64_t, const JournalStep*> stepOfToken_;
  std::vector<std::uint64_t> freed_;
};

TEST(InterruptedRenameModelTest, RecoveryMovesOnlyTheFilesItsJournalWasAboutWhateverChangedMeanwhile) {
  std::vector<unsigned> seeds(100);
  for (unsigned i = 0; i < seeds.size(); ++i) seeds[i] = i + 1;
  const unsigned fresh = std::random_device()();
  seeds.push_back(fresh);
  std::cout << "fresh seed: " << fresh << std::endl;
  int undisturbed = 0;
  for (const unsigned seed : seeds) {
    bool quiet = false;
    const std::string fault = RecoveryModel(seed).Run(quiet);
    undisturbed += quiet;
    EXPECT_EQ(fault, "") << "seed " << seed;
  }
  EXPECT_GT(undisturbed, 10);  // the runs without outside changes check that recovery does its work
}

}  // namespace
}  // namespace nomvarix
