#include "session/EditorSession.h"

#include <memory>
#include <unordered_map>

#include "apply/RenameBatch.h"
#include "apply/RenameJournal.h"
#include "apply/Validation.h"
#include "transform/DateTaken.h"
#include "transform/FileTextInsertion.h"
#include "transform/PadTrim.h"
#include "platform/Clipboard.h"
#include "platform/FileSystem.h"
#include "platform/LockedFile.h"
#include "platform/Path.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "platform/SharedFile.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// A file's text for an insertion: what `read` finds in the file, formatted; nothing where it
/// finds nothing.
template <typename Read, typename Format>
FileTextSource Formatted(Read read, Format format) {
  return [read, format](std::u16string_view path) -> std::optional<std::u16string> {
    const auto value = read(path);
    if (!value) return std::nullopt;
    return format(*value);
  };
}

}  // namespace

EditorSession::EditorSession(FileSystem& fileSystem, SettingsStore& settings)
    : fileSystem_(fileSystem),
      settings_(settings),
      keepEdits_(settings.ReadFlag(settings::kKeepEditsBetweenRuns, settings::kKeepEditsBetweenRunsDefault)),
      order_{settings.ReadFlag(settings::kSortByExtension, settings::kSortByExtensionDefault),
             settings.ReadFlag(settings::kSortCaseSensitive, settings::kSortCaseSensitiveDefault),
             settings.ReadFlag(settings::kSortNumbersByValue, settings::kSortNumbersByValueDefault)},
      checkConflicts_(settings.ReadFlag(settings::kCheckConflict, settings::kCheckConflictDefault)) {}

EditorSession::~EditorSession() { FinishWritingKeptEdits(); }

bool EditorSession::LoadFolder(std::u16string_view folder) { return Load(folder) == FolderLoad::Loaded; }

EditorSession::FolderLoad EditorSession::Load(std::u16string_view folder, WorkKind kind) {
  links_.Clear();
  const std::unique_ptr<WorkProgress> progress = progress_->Start(kind);
  EntryFilter accepts;
  if (filter_.IsActive()) accepts = [this](std::u16string_view name) { return filter_.Passes(name); };
  if (editor_.LoadFolder(fileSystem_, folder, order_, accepts, *progress)) {
    if (checkConflicts_) conflictChecker_.Prepare(editor_.Names(), editor_.Keys(), editor_.ListGeneration());
    return FolderLoad::Loaded;
  }
  return progress->Cancelled() ? FolderLoad::Cancelled : FolderLoad::Unlisted;
}

std::u16string SkippedFilesMessage(std::size_t count) {
  return FromUtf8(std::to_string(count)) + u" file(s) were skipped due to errors or conflicts.";
}

namespace {

/// `count` with a comma between each group of three digits: 9990 gives "9,990".
std::u16string GroupedCount(std::size_t count) {
  const std::string digits = std::to_string(count);
  std::u16string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(u',');
    grouped.push_back(static_cast<char16_t>(digits[i]));
  }
  return grouped;
}

}  // namespace

std::u16string AppliedStatusText(const ApplyOutcome& outcome) {
  return u"Renamed " + GroupedCount(outcome.renamed) + (outcome.renamed == 1 ? u" file" : u" files") +
         u", skipped " + GroupedCount(outcome.skipped) + u".";
}

void EditorSession::SwitchToFolder(std::u16string_view folder) {
  // The last apply can no longer be reverted once another folder was chosen.
  revertList_.clear();
  SavePendingEdits();
  LoadFolder(folder);
  TakeKeptEdits(folder);
  RestorePendingEdits(folder);
}

void EditorSession::SetFilter(std::u16string_view extensionText, std::u16string_view includeText) {
  filter_.extensions = ParseExtensionList(extensionText);
  filter_.mustInclude = includeText;
  const std::u16string folder = editor_.CurrentFolder();
  if (folder.empty()) return;
  LoadFolder(folder);
  RestorePendingEdits(folder);
}

void EditorSession::SavePendingEdits() {
  pending_.Save(editor_.CurrentFolder(), editor_.Names());
  keptOutdated_ = true;
}

bool EditorSession::RestorePendingEdits(std::u16string_view folder) {
  if (!pending_.Restore(folder, editor_)) return false;
  CheckConflicts();
  return true;
}

void EditorSession::ForgetPendingEdits(std::u16string_view folder) {
  pending_.Forget(folder);
  FinishWritingKeptEdits();
  kept_.Drop(folder);
  keptOutdated_ = true;
}

void EditorSession::SetStateFolder(const std::u16string& folder) {
  SetJournalFolder(folder);
  SetKeptEditsFile(folder.empty() ? std::u16string() : JoinPath(folder, kKeptEditsFileName));
}

void EditorSession::ToggleKeepEditsBetweenRuns() {
  keepEdits_ = !keepEdits_;
  settings_.WriteFlag(settings::kKeepEditsBetweenRuns, keepEdits_);
  keptOutdated_ = true;
}

void EditorSession::TakeKeptEdits(std::u16string_view folder) {
  if (!openedFolders_.emplace(folder).second || !Keeping()) return;
  const std::optional<std::string> text = ReadSharedFile(keptFile_);
  if (!text) return;
  FinishWritingKeptEdits();
  std::vector<PendingEditMemory::Pair> saved = kept_.Take(folder, *text);
  if (!pending_.Find(folder)) pending_.Set(folder, std::move(saved));
}

FolderEdits EditorSession::EditsToKeep() const {
  FolderEdits edits(pending_.Folders().begin(), pending_.Folders().end());
  const std::u16string& current = editor_.CurrentFolder();
  if (current.empty()) return edits;
  std::vector<PendingEditMemory::Pair> shown = PendingEditMemory::ChangedPairs(editor_.Names());
  if (shown.empty()) {
    edits.erase(current);
  } else {
    edits[current] = std::move(shown);
  }
  return edits;
}

bool EditorSession::KeptEditsOutdated() {
  if (keptWrite_.valid() && keptWrite_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
    FinishWritingKeptEdits();
  }
  if (editor_.TakeNamesTouched()) keptOutdated_ = true;
  return keptOutdated_ && Keeping();
}

bool EditorSession::WriteKeptEdits() {
  FinishWritingKeptEdits();
  if (!Keeping()) return false;
  editor_.TakeNamesTouched();
  keptOutdated_ = !WriteEdits(EditsToKeep());
  return !keptOutdated_;
}

void EditorSession::StartWritingKeptEdits() {
  if (!Keeping()) return;
  if (keptWrite_.valid() && keptWrite_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  FinishWritingKeptEdits();
  editor_.TakeNamesTouched();
  keptOutdated_ = false;
  keptWrite_ = std::async(std::launch::async, [this, edits = EditsToKeep()]() mutable { return WriteEdits(std::move(edits)); });
}

void EditorSession::FinishWritingKeptEdits() {
  if (keptWrite_.valid() && !keptWrite_.get()) keptOutdated_ = true;
}

bool EditorSession::WriteEdits(FolderEdits edits) {
  if (!kept_.Changes(edits)) return true;
  bool unchanged = false;
  const bool written = UpdateSharedFile(keptFile_, [&](std::string_view current) {
    std::optional<std::string> merged = kept_.Merge(current, edits);
    unchanged = !merged;
    return merged;
  });
  if (!written && !unchanged) return false;
  kept_.Written(std::move(edits));
  return true;
}

void EditorSession::CheckConflicts() {
  if (checkConflicts_) conflictChecker_.Check(editor_.Names(), editor_.Keys(), editor_.ListGeneration(), links_);
}

bool EditorSession::Validate(std::u16string& report) { return ValidateChanges(editor_, fileSystem_, report); }

ApplyOutcome EditorSession::ApplyChanges(bool verify, bool autoRename) {
  const std::u16string folder = editor_.CurrentFolder();
  if (folder.empty()) return {};
  std::u16string report;
  if (verify && Validate(report)) return {.kind = ApplyOutcome::Kind::ValidationFailed};
  RenameBatchResult batch;
  {
    const std::unique_ptr<WorkProgress> progress = progress_->Start(WorkKind::Renaming);
    const RenamePlan plan = PlanRenames(editor_.Names(), folder, fileSystem_);
    // Without a journal (no state folder, a full disk) the apply goes on as it always could.
    const std::unique_ptr<LockedFile> journal =
        journalFolder_.empty() || plan.journal.steps.empty() ? nullptr : WriteJournal(plan.journal, journalFolder_);
    batch = RenameFiles(editor_.Names(), folder, fileSystem_, autoRename, *progress, &plan);
    if (journal) journal->Remove();
  }
  // What the reload would drop: the edits of the skipped files, marked, and those of the lines a
  // cancel left unreached.
  NameList kept;
  for (std::size_t i = 0; i < editor_.LineCount(); ++i) {
    const NameEntry& entry = editor_.Names()[i];
    const bool unreached = i >= batch.linesDone && entry.newName != entry.originalName;
    if (!batch.skipped[i] && !unreached) continue;
    NameEntry& edit = kept.emplace_back();
    edit.originalName = entry.originalName;
    edit.newName = entry.newName;
    edit.errorMark = batch.skipped[i];
  }
  revertFolder_ = folder;
  revertList_ = std::move(batch.revertList);
  if (!revertList_.empty()) ForgetPendingEdits(folder);
  Load(folder, WorkKind::ReloadingAfterApply);
  KeepEdits(kept);
  return {.kind = ApplyOutcome::Kind::Applied,
          .skipped = batch.SkippedCount(),
          .renamed = revertList_.size(),
          .skipReport = std::move(batch.report)};
}

void EditorSession::KeepEdits(const NameList& kept) {
  if (kept.empty()) return;
  std::unordered_map<std::u16string_view, const NameEntry*> keptOf;
  for (const NameEntry& entry : kept) keptOf[entry.originalName] = &entry;
  for (std::size_t line = 0; line < editor_.LineCount(); ++line) {
    const auto it = keptOf.find(editor_.Names()[line].originalName);
    if (it == keptOf.end()) continue;
    editor_.SetNewName(line, it->second->newName);
    editor_.SetErrorMark(line, it->second->errorMark);
  }
  CheckConflicts();
}

RevertOutcome EditorSession::RevertLastChanges(RevertReload reload) {
  const std::u16string folder = editor_.CurrentFolder();
  if (revertFolder_.empty()) {
    if (reload == RevertReload::DropEdits) {
      ForgetPendingEdits(folder);
    } else if (editor_.AnyNameChanged()) {
      return RevertOutcome::AsksBeforeReload;
    }
    const bool cancelled = !folder.empty() && Load(folder) == FolderLoad::Cancelled;
    if (!cancelled) revertFolder_ = folder;
    return RevertOutcome::Reloaded;
  }
  const bool sameFolder = revertFolder_ == folder;
  revertFolder_.clear();
  if (!sameFolder) return RevertOutcome::FolderMismatch;
  if (revertList_.empty()) return RevertOutcome::NothingToRevert;
  links_.Clear();
  editor_.ReplaceLines(revertList_);
  ForgetPendingEdits(folder);
  CheckConflicts();
  return RevertOutcome::ShowsRenamedFiles;
}

void EditorSession::RightAlignAll() {
  nomvarix::RightAlignAll(editor_);
  CheckConflicts();
}

bool EditorSession::RightAlignSelection() { return CheckedIf(nomvarix::RightAlignSelection(editor_)); }

void EditorSession::TrimLeftSelection() {
  nomvarix::TrimLeftSelection(editor_);
  CheckConflicts();
}

void EditorSession::TrimLeftAll() {
  nomvarix::TrimLeftAll(editor_);
  CheckConflicts();
}

void EditorSession::InsertFromFiles(WorkKind kind, const FileTextSource& source) {
  const std::unique_ptr<WorkProgress> progress = progress_->Start(kind);
  InsertFileText(editor_, source, *progress);
}

void EditorSession::InsertCreationDate(std::u16string_view formatName) {
  InsertFromFiles(WorkKind::InsertingDates,
                  Formatted([this](std::u16string_view path) { return fileSystem_.CreationTime(path); },
                            [formatName](auto time) { return FormatCreationDate(time, formatName); }));
}

void EditorSession::InsertImageSize(std::u16string_view pattern) {
  InsertFromFiles(WorkKind::InsertingImageSizes,
                  Formatted([this](std::u16string_view path) { return GetImageSize(fileSystem_, path); },
                            [pattern](const auto& size) { return FormatImageSize(size, pattern); }));
}

void EditorSession::InsertDateTaken(std::u16string_view formatName) {
  InsertFromFiles(WorkKind::InsertingDatesTaken,
                  Formatted([this](std::u16string_view path) { return GetDateTaken(fileSystem_, path); },
                            [formatName](auto time) { return FormatCreationDate(time, formatName); }));
}

void EditorSession::ApplyParsedPairs(const std::vector<std::vector<RenamePair>>& groups) {
  std::unordered_map<std::u16string, std::size_t> lineOf;
  for (std::size_t line = 0; line < editor_.LineCount(); ++line) lineOf[editor_.Names()[line].originalName] = line;
  std::unordered_map<std::size_t, std::u16string> newNames;
  for (const auto& group : groups) {
    for (const RenamePair& pair : group) {
      if (pair.refused) continue;
      if (const auto it = lineOf.find(pair.original); it != lineOf.end()) newNames[it->second] = pair.renamed;
    }
  }
  // One undo step, so that the names the user had typed come back with Ctrl+Z.
  if (!newNames.empty()) editor_.PushUndo();
  for (std::size_t line = 0; line < editor_.LineCount(); ++line) {
    if (const auto it = newNames.find(line); it != newNames.end()) {
      editor_.SetNewName(line, it->second);
    } else {
      editor_.RefreshLineText(line);
    }
  }
  CheckConflicts();
}

void EditorSession::ResetAllNames() {
  for (std::size_t line = 0; line < editor_.LineCount(); ++line) {
    editor_.SetNewName(line, editor_.Names()[line].originalName);
    editor_.SetErrorMark(line, false);
  }
  CheckConflicts();
}

void EditorSession::ResetName(std::int32_t line) {
  if (line < 0 || static_cast<std::size_t>(line) >= editor_.LineCount()) return;
  const auto index = static_cast<std::size_t>(line);
  editor_.SetNewName(index, editor_.Names()[index].originalName);
  CheckConflicts();
}

void EditorSession::ToggleAutoCheckConflicts() {
  checkConflicts_ = !checkConflicts_;
  settings_.WriteFlag(settings::kCheckConflict, checkConflicts_);
}

void EditorSession::ToggleSortCaseSensitive() {
  order_.caseSensitive = !order_.caseSensitive;
  settings_.WriteFlag(settings::kSortCaseSensitive, order_.caseSensitive);
  ReloadKeepingEdits();
}

void EditorSession::ToggleSortNumbersByValue() {
  order_.numbersByValue = !order_.numbersByValue;
  settings_.WriteFlag(settings::kSortNumbersByValue, order_.numbersByValue);
  ReloadKeepingEdits();
}

void EditorSession::SortByFileName() {
  order_.byExtension = false;
  settings_.WriteFlag(settings::kSortByExtension, false);
  ReloadKeepingEdits();
}

void EditorSession::SortByFileType() {
  order_.byExtension = true;
  settings_.WriteFlag(settings::kSortByExtension, true);
  ReloadKeepingEdits();
}

void EditorSession::ReloadKeepingEdits() {
  // A copy: loading replaces the folder path that CurrentFolder() refers to.
  const std::u16string folder = editor_.CurrentFolder();
  SavePendingEdits();
  if (!folder.empty()) LoadFolder(folder);
  RestorePendingEdits(folder);
}

void EditorSession::ReloadConfirmed() {
  const std::u16string folder = editor_.CurrentFolder();
  ForgetPendingEdits(folder);
  if (!folder.empty()) LoadFolder(folder);
}

bool EditorSession::TypeChar(char16_t ch) { return CheckedIf(editor_.TypeChar(ch)); }
bool EditorSession::Backspace() { return CheckedIf(editor_.Backspace()); }
bool EditorSession::DeleteForward() { return CheckedIf(editor_.DeleteForward()); }
bool EditorSession::Undo() { return CheckedIf(editor_.Undo()); }
bool EditorSession::Redo() { return CheckedIf(editor_.Redo()); }

bool EditorSession::CopySelection(Clipboard& clipboard) const {
  const std::u16string text = editor_.SelectedText();
  return !text.empty() && clipboard.WriteText(text);
}

bool EditorSession::CutSelection(Clipboard& clipboard) {
  if (editor_.Selection().IsNone()) return false;
  CopySelection(clipboard);
  return CheckedIf(editor_.CutSelection());
}

bool EditorSession::PasteClipboard(const Clipboard& clipboard) {
  const std::optional<std::u16string> text = clipboard.ReadText();
  return text && CheckedIf(editor_.PasteText(*text));
}

bool EditorSession::CheckedIf(bool changed) {
  if (changed) CheckConflicts();
  return changed;
}

}  // namespace nomvarix
