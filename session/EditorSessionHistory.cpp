// The session's part in the rename history: recording finished batches and undoing entries.

#include <unordered_map>

#include "apply/JournalledApply.h"
#include "apply/RenameHistory.h"
#include "platform/FileSystem.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "session/CommandNote.h"
#include "session/EditorSession.h"

namespace nomvarix {

std::u16string HistoryUndoMessage(const HistoryUndoOutcome& outcome, std::u16string_view folder) {
  switch (outcome.kind) {
    case HistoryUndoOutcome::Kind::NothingToUndo:
      return u"Nothing was undone: no chosen file can go back to its old name." +
             (outcome.report.empty() ? u"" : u"\n\n" + outcome.report);
    case HistoryUndoOutcome::Kind::FolderUnreadable: return FolderUnreadableMessage(folder);
    case HistoryUndoOutcome::Kind::Unprotected:
      return u"Nothing was undone: crash protection is unavailable: " + outcome.unprotectedReason + u".";
    case HistoryUndoOutcome::Kind::Undone: break;
  }
  std::u16string text = u"Undid " + GroupedCount(outcome.renamed) + (outcome.renamed == 1 ? u" rename in " : u" renames in ") +
                        std::u16string(folder) + u".";
  if (!outcome.report.empty()) text += u"\n\nThese files stay as they are:\n" + outcome.report;
  return text;
}

void EditorSession::ToggleKeepRenameHistory() {
  keepHistory_ = !keepHistory_;
  settings_.WriteFlag(settings::kKeepRenameHistory, keepHistory_);
}

std::vector<HistoryEntry> EditorSession::ReadRenameHistory(std::u16string& message) {
  return RenameHistory(stateFolder_, fileSystem_).Read(message);
}

void EditorSession::RecordInHistory(HistoryEntry entry) {
  if (!KeepsRenameHistory() || entry.files.empty()) return;
  std::u16string message;
  if (!RenameHistory(stateFolder_, fileSystem_).Append(entry, message) || !message.empty()) historyMessage_ = message;
}

HistoryUndoOutcome EditorSession::UndoFromHistory(const HistoryEntry& entry, const UndoChoice& choice,
                                                  WithoutJournal withoutJournal) {
  using Kind = HistoryUndoOutcome::Kind;
  const std::u16string& folder = entry.folder;
  if (fileSystem_.KindOf(folder) != PathKind::Folder) return {.kind = Kind::FolderUnreadable};
  const std::vector<UndoFile> plan = PlanUndo(entry, fileSystem_, choice);
  HistoryUndoOutcome outcome;
  for (const UndoFile& file : plan) {
    if (file.moves || file.action == UndoAction::NotChosen || file.action == UndoAction::AlreadyBack) continue;
    const HistoryFile& recorded = entry.files[file.index];
    outcome.report += recorded.newName + u": " + UndoActionText(recorded, file) + u"\n";
  }
  NameList batch = UndoBatch(entry, plan);
  if (batch.empty()) return outcome;
  const bool shown = editor_.CurrentFolder() == folder;
  if (shown) SavePendingEdits();
  JournalledBatch done;
  RenamePlan renamePlan = PlanRenames(batch, folder, fileSystem_);
  ExpectRecordedIdentities(entry, plan, batch, renamePlan);
  {
    const std::unique_ptr<WorkProgress> progress = progress_->Start(WorkKind::Renaming);
    done = RenameUnderJournal(batch, folder, renamePlan, fileSystem_, false, *progress, journalFolder_,
                              withoutJournal == WithoutJournal::Apply);
  }
  if (done.refused) return {.kind = Kind::Unprotected, .unprotectedReason = done.unprotectedReason};
  HistoryEntry record = EntryOfBatch(HistoryKind::Undo, folder, renamePlan, done.batch);
  record.undoes = entry.id;
  RecordInHistory(std::move(record));
  outcome.kind = Kind::Undone;
  outcome.renamed = done.batch.revertList.size();
  outcome.report += done.batch.report;
  for (std::size_t i = 0; i < batch.size(); ++i) {
    if (batch[i].newName == batch[i].originalName) {
      outcome.report += batch[i].originalName + u": stays: the file is gone (renamed elsewhere or deleted)\n";
    } else if (done.batch.skipped[i]) {
      outcome.report += batch[i].originalName + u": could not be renamed back to " + batch[i].newName + u"\n";
    }
  }
  MoveEditsWithUndo(folder, done.batch.revertList);
  if (shown) {
    Load(folder, WorkKind::ReloadingAfterApply, UnlistedFolder::KeepsLines);
    RestorePendingEdits(folder);
    revertFolder_ = folder;
    revertList_ = std::move(done.batch.revertList);
  }
  WriteKeptEdits();
  return outcome;
}

void EditorSession::MoveEditsWithUndo(const std::u16string& folder, const NameList& undone) {
  const std::vector<PendingEditMemory::Pair>* pairs = pending_.Find(folder);
  if (!pairs || undone.empty()) return;
  // revertList records: originalName is the name now (the old one), newName the name it left.
  std::unordered_map<std::u16string_view, std::u16string_view> nowNamed;
  for (const NameEntry& moved : undone) nowNamed.emplace(moved.newName, moved.originalName);
  std::vector<PendingEditMemory::Pair> moved;
  for (const auto& [original, renamed] : *pairs) {
    const auto found = nowNamed.find(original);
    moved.emplace_back(found == nowNamed.end() ? original : std::u16string(found->second), renamed);
  }
  pending_.Set(folder, std::move(moved));
  keptOutdated_ = true;
}

}  // namespace nomvarix
