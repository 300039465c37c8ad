#include "apply/InterruptedRename.h"

#include <algorithm>
#include <unordered_map>

#include "apply/RenameBatch.h"
#include "apply/SetAside.h"
#include "platform/FileSystem.h"
#include "platform/LockedFile.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

std::u16string Number(std::size_t n) { return FromUtf8(std::to_string(n)); }

constexpr std::u16string_view kPartialJournal = u".journal.partial";

}  // namespace

InterruptedRename::InterruptedRename(RenameJournal journal, const FileSystem& fileSystem)
    : journal_(std::move(journal)), nameNow_(journal_.steps.size()) {
  std::vector<std::u16string> names;
  const bool listed = fileSystem.ForEachEntry(journal_.folder, [&](const DirEntry& entry) {
    if (!entry.isFolder) names.emplace_back(entry.name);
  });
  folderUnreadable_ = !listed;
  if (!listed) return;
  permanence_ = fileSystem.IdentityPermanenceOf(journal_.folder);
  FindFiles(names, fileSystem);
}

bool InterruptedRename::IsTheFile(const JournalStep& step, const FileStamp& stamp) const {
  const AttributeMatch match = CompareAttributes(step.attributes, stamp.attributes);
  if (match == AttributeMatch::Different) return false;
  // The files looked at lie in one folder: the inode number alone tells them apart, also after a
  // restart that numbered the devices anew.
  if (permanence_ == IdentityPermanence::Lasting) return stamp.identity.file == step.identity.file;
  return match == AttributeMatch::Same;
}

bool InterruptedRename::MayBeTheFile(const JournalStep& step, const FileStamp& stamp) const {
  const AttributeMatch match = CompareAttributes(step.attributes, stamp.attributes);
  // Its own inode with other attributes: changed since, or the number given to a new file.
  if (permanence_ == IdentityPermanence::Lasting) return stamp.identity.file == step.identity.file;
  return match == AttributeMatch::Unknown;  // nothing to tell it by
}

InterruptedRename::Candidates InterruptedRename::CandidatesAmong(const std::vector<std::u16string>& names) const {
  std::unordered_map<std::u16string_view, std::vector<std::size_t>> stepsOfName;
  std::unordered_map<std::u16string_view, std::vector<std::size_t>> stepsOfNewName;
  for (std::size_t i = 0; i < journal_.steps.size(); ++i) {
    const JournalStep& step = journal_.steps[i];
    for (const std::u16string* name : {&step.before, &step.after, &step.temporary}) {
      if (!name->empty()) stepsOfName[*name].push_back(i);
    }
    stepsOfNewName[step.after].push_back(i);
  }
  Candidates candidates;
  for (const std::u16string& name : names) {
    std::vector<std::size_t> steps;
    if (const auto it = stepsOfName.find(name); it != stepsOfName.end()) steps = it->second;
    if (const std::optional<std::u16string> unnumbered = NameBeforeNumbering(name)) {
      if (const auto it = stepsOfNewName.find(*unnumbered); it != stepsOfNewName.end()) {
        steps.insert(steps.end(), it->second.begin(), it->second.end());
      }
    }
    if (steps.empty()) continue;
    std::sort(steps.begin(), steps.end());
    steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
    candidates.emplace(name, std::move(steps));
  }
  return candidates;
}

void InterruptedRename::FindFiles(const std::vector<std::u16string>& names, const FileSystem& fileSystem) {
  // A step is settled on a name only when that name is its file's one and only, and no other step's.
  std::vector<std::vector<std::u16string>> matches(journal_.steps.size());
  std::vector<bool> doubtful(journal_.steps.size(), false);
  for (const auto& [name, steps] : CandidatesAmong(names)) {
    const std::optional<FileStamp> stamp = fileSystem.StampOf(journal_.folder + name);
    if (!stamp) continue;
    std::vector<std::size_t> accepted;
    for (const std::size_t i : steps) {
      const JournalStep& step = journal_.steps[i];
      if (IsTheFile(step, *stamp)) {
        accepted.push_back(i);
      } else if (name != step.before && MayBeTheFile(step, *stamp)) {
        doubtful[i] = true;
      }
    }
    for (const std::size_t i : accepted) {
      matches[i].push_back(name);
      if (accepted.size() > 1) doubtful[i] = true;
    }
  }
  for (std::size_t i = 0; i < journal_.steps.size(); ++i) {
    if (matches[i].size() == 1 && !doubtful[i]) {
      nameNow_[i] = matches[i].front();
    } else if (!matches[i].empty() || doubtful[i]) {
      ++unsure_;
    }
  }
}

std::size_t InterruptedRename::Done() const {
  std::size_t done = 0;
  for (std::size_t i = 0; i < Planned(); ++i) done += !nameNow_[i].empty() && nameNow_[i] != journal_.steps[i].before;
  return done;
}

InterruptedRename::MoveResult InterruptedRename::Move(const JournalStep& step, std::u16string_view from,
                                                      std::u16string_view to, FileSystem& fileSystem) const {
  const std::u16string source = journal_.folder + std::u16string(from);
  const std::optional<FileStamp> stamp = fileSystem.StampOf(source);
  if (!stamp || !IsTheFile(step, *stamp)) return MoveResult::Changed;
  return fileSystem.RenameNoReplace(source, journal_.folder + std::u16string(to)) == RenameResult::Renamed
             ? MoveResult::Moved
             : MoveResult::NotMoved;
}

std::optional<InterruptedRename::Left> InterruptedRename::Undo(const JournalStep& step, std::u16string now,
                                                              FileSystem& fileSystem) const {
  // Back to an old spelling of the same name: through the temporary name, as on the way out.
  if (!step.temporary.empty() && now != step.temporary && MaySpellTheSameName(now, step.before)) {
    const MoveResult moved = Move(step, now, step.temporary, fileSystem);
    if (moved != MoveResult::Moved) return Left{now, moved == MoveResult::Changed};
    now = step.temporary;
  }
  const MoveResult back = Move(step, now, step.before, fileSystem);
  if (back == MoveResult::Moved) return std::nullopt;
  if (back == MoveResult::Changed) return Left{now, true};
  // Its old name was taken meanwhile; even so it must not stay under a temporary name.
  if (now == step.temporary && Move(step, now, step.after, fileSystem) == MoveResult::Moved) {
    return Left{step.after, false};
  }
  return Left{now, false};
}

std::optional<InterruptedRename::Left> InterruptedRename::Keep(const JournalStep& step, const std::u16string& now,
                                                              FileSystem& fileSystem) const {
  if (now != step.temporary) return std::nullopt;
  const MoveResult forward = Move(step, now, step.after, fileSystem);
  if (forward == MoveResult::Moved) return std::nullopt;
  if (forward == MoveResult::Changed) return Left{now, true};
  if (Move(step, now, step.before, fileSystem) == MoveResult::Moved) return std::nullopt;
  return Left{now, false};
}

SettleReport InterruptedRename::Settle(RecoveryChoice choice, FileSystem& fileSystem) const {
  SettleReport report;
  std::vector<std::u16string> nameNow = nameNow_;
  if (choice == RecoveryChoice::Undo) {
    ParkRenamedCycleOpeners(nameNow, fileSystem);
  } else {
    MakeRoomForParkedFiles(nameNow, fileSystem);
  }
  // Backwards: a later step may have taken the name an earlier one left.
  for (std::size_t i = Planned(); i-- > 0;) {
    const JournalStep& step = journal_.steps[i];
    const std::u16string& now = nameNow[i];
    if (now.empty() || now == step.before) continue;
    const std::optional<Left> left =
        choice == RecoveryChoice::Undo ? Undo(step, now, fileSystem) : Keep(step, now, fileSystem);
    if (left) (left->changed ? report.changed : report.unplaced).push_back(left->name);
    const std::u16string final = left ? left->name
                                 : choice == RecoveryChoice::Undo ? step.before
                                 : now != step.temporary ? now
                                                         : NameAfterMove(step, {step.after, step.before}, fileSystem);
    if (!final.empty() && final != step.before) report.renamed.push_back({step.identity, step.before, final});
  }
  std::reverse(report.unplaced.begin(), report.unplaced.end());
  std::reverse(report.changed.begin(), report.changed.end());
  std::reverse(report.renamed.begin(), report.renamed.end());
  return report;
}

std::u16string InterruptedRename::NameAfterMove(const JournalStep& step,
                                                std::initializer_list<std::u16string_view> names,
                                                const FileSystem& fileSystem) const {
  for (const std::u16string_view name : names) {
    const std::optional<FileStamp> stamp = fileSystem.StampOf(journal_.folder + std::u16string(name));
    if (stamp && IsTheFile(step, *stamp)) return std::u16string(name);
  }
  return {};
}

void InterruptedRename::ParkRenamedCycleOpeners(std::vector<std::u16string>& nameNow, FileSystem& fileSystem) const {
  // A file that opened a cycle comes before the files of its cycle in the journal. Renamed, it holds
  // the old name of the last of them to be undone; parked again first, it is undone after them.
  for (std::size_t i = 0; i < Planned(); ++i) {
    const JournalStep& step = journal_.steps[i];
    if (step.temporary.empty() || nameNow[i] != step.after) continue;
    if (Move(step, nameNow[i], step.temporary, fileSystem) == MoveResult::Moved) nameNow[i] = step.temporary;
  }
}

void InterruptedRename::MakeRoomForParkedFiles(std::vector<std::u16string>& nameNow, FileSystem& fileSystem) const {
  std::unordered_map<std::u16string_view, std::size_t> stepOfBefore;
  for (std::size_t i = 0; i < Planned(); ++i) stepOfBefore.emplace(journal_.steps[i].before, i);
  for (std::size_t i = 0; i < Planned(); ++i) {
    const JournalStep& step = journal_.steps[i];
    if (step.temporary.empty() || nameNow[i] != step.temporary) continue;
    // The files of its cycle not renamed yet hold its new name: they take their new names first,
    // from the one whose new name is free.
    std::vector<std::size_t> chain;
    std::u16string_view wanted = step.after;
    for (auto it = stepOfBefore.find(wanted); it != stepOfBefore.end() && it->second != i;
         it = stepOfBefore.find(wanted)) {
      const std::size_t holder = it->second;
      if (nameNow[holder] != journal_.steps[holder].before ||
          std::find(chain.begin(), chain.end(), holder) != chain.end()) {
        break;
      }
      chain.push_back(holder);
      wanted = journal_.steps[holder].after;
    }
    for (auto holder = chain.rbegin(); holder != chain.rend(); ++holder) {
      const JournalStep& moving = journal_.steps[*holder];
      if (Move(moving, moving.before, moving.after, fileSystem) != MoveResult::Moved) break;
      nameNow[*holder] = moving.after;
    }
  }
}

std::u16string InterruptedRename::Question() const {
  std::u16string text = u"An earlier rename in " + journal_.folder + u" was interrupted after " + Number(Done()) +
                        u" of " + Number(Planned()) + u" files.";
  if (unsure_ > 0) {
    text += u' ';
    text += Number(unsure_);
    text += unsure_ == 1 ? u" file" : u" files";
    text += u" cannot be told from other files for certain now and will be left as they are.";
  }
  return text + u"\n\nUndo the renames that took effect, or keep the new names?";
}

std::vector<LeftJournal> TakeOverLeftJournals(const FileSystem& fileSystem, std::u16string_view stateFolder) {
  std::vector<LeftJournal> left;
  if (stateFolder.empty()) return left;
  // A journal is complete on the disk before the first file is renamed: one that a killed program
  // was still writing planned nothing that happened.
  std::vector<std::u16string> partial;
  fileSystem.ForEachEntry(stateFolder, [&](const DirEntry& entry) {
    if (!entry.isFolder && entry.name.starts_with(u"rename-") && entry.name.ends_with(kPartialJournal)) {
      partial.push_back(std::u16string(stateFolder) + std::u16string(entry.name));
    }
  });
  for (const std::u16string& path : partial) {
    if (const std::unique_ptr<LockedFile> file = TakeOverLockedFile(path)) file->Remove();
  }
  for (const std::u16string& path : JournalPaths(fileSystem, stateFolder)) {
    std::unique_ptr<LockedFile> file = TakeOverLockedFile(path);
    if (!file) continue;
    std::optional<RenameJournal> journal = ParseJournal(file->Content());
    if (!journal) continue;
    InterruptedRename rename(std::move(*journal), fileSystem);
    if (!rename.FolderUnreadable() && !rename.AnythingToDecide()) {
      file->Remove();
      continue;
    }
    left.push_back({std::move(file), std::move(rename)});
  }
  return left;
}

std::u16string SetAsideUnusableJournals(FileSystem& fileSystem, std::u16string_view stateFolder) {
  std::u16string setAside;
  std::u16string stuck;
  if (stateFolder.empty()) return {};
  for (const std::u16string& path : JournalPaths(fileSystem, stateFolder)) {
    const bool regular = fileSystem.IsListableFile(path);
    const std::unique_ptr<ReadableFile> file = regular ? fileSystem.OpenRegularFile(path) : nullptr;
    if (regular && (!file || file->Size() <= kMaxSharedFileBytes)) continue;
    const std::u16string name = path.substr(stateFolder.size());
    (SetAside(fileSystem, path) ? setAside : stuck) += u"\n" + name;
  }
  std::u16string message;
  if (!setAside.empty()) {
    message = u"These records of interrupted renames are no regular files, or far too large to be one. They "
              u"were set aside as \".bad\" files in " + std::u16string(stateFolder) + u":" + setAside;
  }
  if (!stuck.empty()) {
    message += (message.empty() ? u"" : u"\n\n") + std::u16string(u"These records of interrupted renames are no "
               u"regular files, or far too large to be one, and could not be set aside:") + stuck;
  }
  return message;
}

std::u16string SettleMessage(RecoveryChoice choice, const SettleReport& report) {
  constexpr std::size_t kListed = 20;
  const auto list = [](std::u16string text, const std::vector<std::u16string>& names) {
    for (std::size_t i = 0; i < names.size() && i < kListed; ++i) text += u"\n" + names[i];
    if (names.size() > kListed) text += u"\n(and " + Number(names.size() - kListed) + u" more)";
    return text;
  };
  std::u16string text;
  if (!report.unplaced.empty()) {
    text = list(choice == RecoveryChoice::Undo
                    ? u"These files keep their new names, because other files have their old names now:"
                    : u"These files could not leave their temporary names:",
                report.unplaced);
  }
  if (!report.changed.empty()) {
    if (!text.empty()) text += u"\n\n";
    text += list(u"These files were left as they are, because they changed or were replaced meanwhile:",
                 report.changed);
  }
  return text;
}

std::u16string FolderUnreadableQuestion(std::u16string_view folder) {
  return u"An earlier rename in " + std::u16string(folder) +
         u" was interrupted, but that folder cannot be read now (it may have been moved, or its drive is not "
         u"mounted). Its record is kept, and this question comes back at each start until the folder can be "
         u"read.\n\nDrop the record now, leaving the files as they are?";
}

}  // namespace nomvarix
