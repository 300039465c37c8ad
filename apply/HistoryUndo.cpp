#include "apply/HistoryUndo.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "platform/FileSystem.h"

namespace nomvarix {
namespace {

struct IdentityHash {
  std::size_t operator()(const FileIdentity& identity) const {
    return std::hash<std::uint64_t>()(identity.file * 1000003u ^ identity.volume);
  }
};

/// The files of a folder by identity: the first name each was listed under.
using NamesByIdentity = std::unordered_map<FileIdentity, std::u16string, IdentityHash>;

NamesByIdentity ListByIdentity(const FileSystem& fileSystem, const std::u16string& folder) {
  NamesByIdentity names;
  fileSystem.ForEachEntry(folder, [&](const DirEntry& entry) {
    if (entry.isFolder || LeavesTheFolder(entry.name)) return;
    const std::u16string name(entry.name);
    if (const std::optional<FileIdentity> identity = fileSystem.IdentityOf(folder + name)) names.emplace(*identity, name);
  });
  return names;
}

class UndoPlanner {
 public:
  UndoPlanner(const HistoryEntry& entry, const FileSystem& fileSystem) : entry_(entry), fs_(fileSystem) {}

  std::vector<UndoFile> Plan(const UndoChoice& choice, bool listFolder) {
    std::vector<UndoFile> plan(entry_.files.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
      plan[i] = Find(i, listFolder);
      const bool chosen = choice.chosen.empty() || (i < choice.chosen.size() && choice.chosen[i]);
      if (!chosen) plan[i].action = UndoAction::NotChosen;
      plan[i].moves = plan[i].action == UndoAction::MoveBack ||
                      (plan[i].action == UndoAction::MoveBackFromElsewhere && choice.elsewhereToo);
    }
    KeepOffTakenNames(plan);
    return plan;
  }

 private:
  std::optional<FileIdentity> IdentityAt(std::u16string_view name) const {
    return fs_.IdentityOf(entry_.folder + std::u16string(name));
  }

  UndoFile Find(std::size_t i, bool listFolder) {
    const HistoryFile& file = entry_.files[i];
    if (LeavesTheFolder(file.oldName) || LeavesTheFolder(file.newName)) return {i, UndoAction::Gone, {}};
    if (IdentityAt(file.newName) == file.identity) return {i, UndoAction::MoveBack, file.newName};
    if (IdentityAt(file.oldName) == file.identity) return {i, UndoAction::AlreadyBack, file.oldName};
    if (!listFolder) return {i, UndoAction::Gone, {}};
    if (!listed_) listed_ = ListByIdentity(fs_, entry_.folder);
    const auto found = listed_->find(file.identity);
    if (found == listed_->end()) return {i, UndoAction::Gone, {}};
    return {i, UndoAction::MoveBackFromElsewhere, found->second};
  }

  /// A file whose old name another file holds stays, unless that file moves away in the same undo.
  /// Each file that stays may keep another from moving, so this runs until nothing changes.
  void KeepOffTakenNames(std::vector<UndoFile>& plan) const {
    for (bool changed = true; changed;) {
      changed = false;
      // By identity, not by name: where case is ignored, "x" may be held by the file named "X".
      std::unordered_set<FileIdentity, IdentityHash> leaving;
      for (const UndoFile& file : plan) {
        if (file.moves) leaving.insert(entry_.files[file.index].identity);
      }
      for (UndoFile& file : plan) {
        if (!file.moves) continue;
        const HistoryFile& recorded = entry_.files[file.index];
        const std::optional<FileIdentity> holder = IdentityAt(recorded.oldName);
        if (!holder || *holder == recorded.identity) continue;
        if (leaving.contains(*holder)) continue;
        file.action = UndoAction::OldNameTaken;
        file.moves = false;
        changed = true;
      }
    }
  }

  const HistoryEntry& entry_;
  const FileSystem& fs_;
  std::optional<NamesByIdentity> listed_;
};

}  // namespace

std::u16string_view HistoryStateText(HistoryState state) {
  switch (state) {
    case HistoryState::CanBeUndone: return u"can be undone";
    case HistoryState::Partly: return u"partly";
    case HistoryState::Undone: return u"undone";
    case HistoryState::CannotBeUndone: break;
  }
  return u"cannot be undone";
}

std::u16string UndoActionText(const HistoryFile& file, const UndoFile& undo) {
  switch (undo.action) {
    case UndoAction::MoveBack: return u"back to " + file.oldName;
    case UndoAction::MoveBackFromElsewhere:
      return u"now named " + undo.nameNow + u": back to " + file.oldName + (undo.moves ? u"" : u" if you agree");
    case UndoAction::OldNameTaken: return u"stays: another file is named " + file.oldName + u" now";
    case UndoAction::AlreadyBack: return u"has its old name already";
    case UndoAction::Gone: return u"stays: the file is gone (renamed elsewhere or deleted)";
    case UndoAction::NotChosen: break;
  }
  return u"not chosen";
}

std::vector<UndoFile> PlanUndo(const HistoryEntry& entry, const FileSystem& fileSystem, const UndoChoice& choice) {
  return UndoPlanner(entry, fileSystem).Plan(choice, true);
}

HistoryState StateOf(const HistoryEntry& entry, const FileSystem& fileSystem) {
  return StateOf(UndoPlanner(entry, fileSystem).Plan({}, false));
}

HistoryState StateOf(const std::vector<UndoFile>& plan) {
  std::size_t back = 0;
  std::size_t moving = 0;
  for (const UndoFile& file : plan) {
    back += file.action == UndoAction::AlreadyBack;
    moving += file.moves;
  }
  if (back == plan.size()) return HistoryState::Undone;
  if (moving == plan.size()) return HistoryState::CanBeUndone;
  return moving == 0 ? HistoryState::CannotBeUndone : HistoryState::Partly;
}

NameList UndoBatch(const HistoryEntry& entry, const std::vector<UndoFile>& plan) {
  NameList batch;
  for (auto file = plan.rbegin(); file != plan.rend(); ++file) {
    if (!file->moves) continue;
    NameEntry& line = batch.emplace_back();
    line.originalName = file->nameNow;
    line.newName = entry.files[file->index].oldName;
    line.lineText = line.newName;
  }
  return batch;
}

void ExpectRecordedIdentities(const HistoryEntry& entry, const std::vector<UndoFile>& plan, NameList& batch,
                              RenamePlan& renamePlan) {
  std::unordered_map<std::u16string_view, FileIdentity> recorded;
  for (const UndoFile& file : plan) {
    if (file.moves) recorded.emplace(file.nameNow, entry.files[file.index].identity);
  }
  std::unordered_set<std::u16string_view> planned;
  for (JournalStep& step : renamePlan.journal.steps) {
    planned.insert(step.before);
    if (const auto found = recorded.find(step.before); found != recorded.end()) step.identity = found->second;
  }
  for (NameEntry& line : batch) {
    if (!planned.contains(line.originalName)) line.newName = line.originalName;
  }
}

HistoryEntry EntryOfBatch(HistoryKind kind, std::u16string_view folder, const RenamePlan& plan,
                          const RenameBatchResult& batch) {
  std::unordered_map<std::u16string_view, FileIdentity> identityOf;
  for (const JournalStep& step : plan.journal.steps) identityOf.emplace(step.before, step.identity);
  std::vector<HistoryFile> files;
  for (const NameEntry& renamed : batch.revertList) {
    const auto found = identityOf.find(renamed.newName);
    if (found == identityOf.end()) continue;
    files.push_back({found->second, renamed.newName, renamed.originalName});
  }
  return NewHistoryEntry(kind, folder, std::move(files));
}

}  // namespace nomvarix
