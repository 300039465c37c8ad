#include "session/EditorSession.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <unordered_map>

#include "apply/JournalledApply.h"
#include "apply/RenameBatch.h"
#include "apply/RenameHistory.h"
#include "apply/RenameJournal.h"
#include "apply/SetAside.h"
#include "apply/Validation.h"
#include "editor/PastedText.h"
#include "transform/DateTaken.h"
#include "transform/MetadataPattern.h"
#include "transform/ParallelFileReads.h"
#include "transform/FileTextInsertion.h"
#include "transform/PadTrim.h"
#include "platform/Clipboard.h"
#include "platform/FileSystem.h"
#include "platform/LockedFile.h"
#include "platform/Path.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "platform/SharedFile.h"
#include "text/CharClass.h"
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
      checkConflicts_(settings.ReadFlag(settings::kCheckConflict, settings::kCheckConflictDefault)),
      keepHistory_(settings.ReadFlag(settings::kKeepRenameHistory, settings::kKeepRenameHistoryDefault)) {}

EditorSession::~EditorSession() { FinishWritingKeptEdits(); }

bool EditorSession::LoadFolder(std::u16string_view folder) { return Load(folder) == FolderLoad::Loaded; }

EntryFilter EditorSession::Listed() const {
  if (!filter_.IsActive()) return {};
  return [this](std::u16string_view name) { return filter_.Passes(name); };
}

EditorSession::FolderLoad EditorSession::Load(std::u16string_view folder, WorkKind kind, UnlistedFolder unlisted) {
  const std::unique_ptr<WorkProgress> progress = progress_->Start(kind);
  const bool loaded = editor_.LoadFolder(fileSystem_, folder, order_, Listed(), *progress, unlisted);
  const bool cancelled = progress->Cancelled();
  // Lines kept as they were keep their conflict links too.
  if (!loaded && !cancelled && unlisted == UnlistedFolder::KeepsLines) return FolderLoad::Unlisted;
  // A new list is shown without marks; the first change checks it.
  editor_.TakeKeysChanged();
  links_.Clear();
  if (loaded) {
    // The files may have changed since their stamps were read: they are read again when needed.
    stamps_.erase(std::u16string(folder));
    if (checkConflicts_) conflictChecker_.Prepare(editor_.Names(), editor_.Keys(), editor_.ListGeneration());
    return FolderLoad::Loaded;
  }
  return cancelled ? FolderLoad::Cancelled : FolderLoad::Unlisted;
}

std::u16string SkippedFilesMessage(std::size_t count) {
  return FromUtf8(std::to_string(count)) + u" file(s) were skipped due to errors or conflicts.";
}

std::u16string AppliedStatusText(const ApplyOutcome& outcome) {
  std::u16string text = u"Renamed " + GroupedCount(outcome.renamed) + (outcome.renamed == 1 ? u" file" : u" files") +
                        u", skipped " + GroupedCount(outcome.skipped) + u".";
  if (outcome.hiddenEdits > 0) {
    text += u" " + GroupedCount(outcome.hiddenEdits) +
            (outcome.hiddenEdits == 1 ? u" line hidden by the filter keeps its edit" : u" lines hidden by the filter keep their edits") +
            u", not applied.";
  }
  if (!outcome.unprotectedReason.empty()) text += u" Crash protection was unavailable.";
  return text;
}

std::u16string FolderUnreadableMessage(std::u16string_view folder) {
  return u"The folder " + std::u16string(folder) + u" is gone or cannot be read. Its lines and edits are kept.";
}

void EditorSession::SwitchToFolder(std::u16string_view folder) {
  // The last apply can no longer be reverted once another folder was chosen.
  revertList_.clear();
  SavePendingEdits();
  // A folder that cannot be listed cannot tell which saved edits still fit: they wait for a later opening.
  const std::size_t dropped = LoadFolder(folder) ? TakeKeptEdits(folder) : 0;
  RestorePendingEdits(folder);
  // Dropped edits leave the files at once: no later run may meet them again.
  if (dropped > 0) WriteKeptEdits();
}

std::u16string DroppedKeptEditsMessage(std::size_t count) {
  return FromUtf8(std::to_string(count)) +
         (count == 1 ? u" kept edit was dropped: its file changed or is gone since it was kept."
                     : u" kept edits were dropped: their files changed or are gone since they were kept.");
}

std::u16string UnusableKeptEditsMessage(std::u16string_view folder, std::u16string_view file,
                                        std::optional<std::u16string> setAsideAs) {
  std::u16string text = u"The kept edits of the folder " + std::u16string(folder) +
                        u" could not be read: their file is no regular file, far too large or damaged.";
  if (setAsideAs) return text + u" It was set aside as " + *setAsideAs + u", and the folder's edits are kept anew.";
  return text + u" It could not be set aside: " + std::u16string(file);
}

void EditorSession::SetFilter(std::u16string_view extensionText, std::u16string_view includeText) {
  filter_.extensions = ParseExtensionList(extensionText);
  filter_.mustInclude = includeText;
  const std::u16string folder = editor_.CurrentFolder();
  if (folder.empty()) return;
  const EditScope scope = editor_.Scope();
  LoadFolder(folder);
  editor_.SetEditScope(scope);
  RestorePendingEdits(folder);
}

std::u16string EditorSession::TotalText() const {
  std::u16string text = u"Total: " + GroupedCount(editor_.LineCount());
  if (!filter_.IsActive()) return text;
  return text + u" of " + GroupedCount(editor_.FolderFileCount()) + u" (filter: " + DescribeFilter(filter_) + u")";
}

std::u16string EditorSession::FilterStatusText() const {
  if (!filter_.IsActive()) return {};
  const std::size_t hidden = editor_.FolderFileCount() - std::min(editor_.FolderFileCount(), editor_.LineCount());
  return u"Filter: " + DescribeFilter(filter_) + u" (" + GroupedCount(hidden) + u" of " +
         GroupedCount(editor_.FolderFileCount()) + (editor_.FolderFileCount() == 1 ? u" file hidden)" : u" files hidden)");
}

void EditorSession::SavePendingEdits() {
  pending_.Save(editor_.CurrentFolder(), editor_.Names(), Listed());
  keptOutdated_ = true;
}

bool EditorSession::RestorePendingEdits(std::u16string_view folder) {
  return pending_.Restore(folder, editor_);
}

void EditorSession::ForgetPendingEdits(std::u16string_view folder) {
  pending_.Forget(folder);
  FinishWritingKeptEdits();
  kept_.Drop(folder);
  keptOutdated_ = true;
}

void EditorSession::SetStateFolder(const std::u16string& folder) {
  stateFolder_ = folder;
  SetJournalFolder(folder);
  SetKeptEditsFolder(folder);
}

void EditorSession::SetKeptEditsFolder(const std::u16string& stateFolder) {
  keptFolder_ = stateFolder.empty() ? std::u16string() : WithTrailingSeparator(JoinPath(stateFolder, kKeptEditsFolderName));
  earlierKeptFile_ = stateFolder.empty() ? std::u16string() : JoinPath(stateFolder, kKeptEditsFileName);
}

std::u16string EditorSession::KeptFileOf(std::u16string_view folder) const {
  return keptFolder_ + KeptEditsFileName(folder);
}

void EditorSession::ToggleKeepEditsBetweenRuns() {
  keepEdits_ = !keepEdits_;
  settings_.WriteFlag(settings::kKeepEditsBetweenRuns, keepEdits_);
  keptOutdated_ = true;
}

std::size_t EditorSession::TakeKeptEdits(std::u16string_view folder) {
  if (!openedFolders_.emplace(folder).second || !Keeping()) return 0;
  MoveEarlierKeptEdits();
  const std::u16string file = KeptFileOf(folder);
  const SharedFileContent read = ReadSharedFileChecked(file, kMaxSharedFileBytes);
  if (read.state == SharedFileState::kMissing) return 0;
  SavedEditsContent content = read.state == SharedFileState::kRead ? ReadSavedEdits(read.bytes) : SavedEditsContent{};
  if (read.state == SharedFileState::kNotAFile || read.state == SharedFileState::kTooLarge ||
      content.kind == SavedEditsContent::Kind::Damaged) {
    // Set aside, so that this folder's edits can be kept again and no later start meets it.
    keptWarning_ += (keptWarning_.empty() ? u"" : u"\n\n") + UnusableKeptEditsMessage(folder, file, SetAside(fileSystem_, file));
    return 0;
  }
  if (read.state != SharedFileState::kRead) return 0;
  FinishWritingKeptEdits();
  std::vector<SavedEdit> saved = kept_.Take(folder, std::move(content));
  if (saved.empty()) return 0;
  const IdentityPermanence permanence = fileSystem_.IdentityPermanenceOf(folder);
  auto& stamps = stamps_[std::u16string(folder)];
  std::vector<PendingEditMemory::Pair> fitting;
  for (SavedEdit& edit : saved) {
    if (!IsKeepableName(edit.original) || edit.renamed.find(u'\0') != std::u16string::npos || !edit.stamp) continue;
    const std::optional<FileStamp> now = fileSystem_.StampOf(JoinPath(folder, edit.original));
    if (!now || !IsSameKeptFile(*edit.stamp, *now, permanence)) continue;
    stamps[edit.original] = *now;
    fitting.emplace_back(std::move(edit.original), std::move(edit.renamed));
  }
  const std::size_t dropped = saved.size() - fitting.size();
  droppedKept_ += dropped;
  if (!pending_.Find(folder)) pending_.Set(folder, std::move(fitting));
  return dropped;
}

void EditorSession::MoveEarlierKeptEdits() {
  if (std::exchange(earlierKeptMoved_, true)) return;
  const std::optional<std::string> earlier = ReadSharedFile(earlierKeptFile_);
  if (!earlier || earlier->empty()) return;
  // Under the earlier file's lock: two instances starting together move its edits once.
  bool moved = true;
  const bool emptied = UpdateSharedFile(earlierKeptFile_, [&](std::string_view text) -> std::optional<std::string> {
    const SavedEditsContent content = ReadSavedEdits(text);
    if (content.kind == SavedEditsContent::Kind::Newer) return std::nullopt;
    for (const auto& [folder, edits] : content.folders) {
      bool own = false;  // the folder's own file already holds it: that is newer
      const bool written = UpdateSharedFile(KeptFileOf(folder), [&](std::string_view current) -> std::optional<std::string> {
        SavedEditsContent files = ReadSavedEdits(current);
        own = files.kind == SavedEditsContent::Kind::Newer || files.folders.contains(folder);
        if (own) return std::nullopt;
        files.folders[folder] = edits;
        return WriteSavedEdits(files.folders);
      });
      moved = moved && (written || own);
    }
    return moved ? std::optional<std::string>(std::string()) : std::nullopt;
  });
  if (emptied) RemoveSharedFile(earlierKeptFile_);
}

std::vector<SavedEdit> EditorSession::StampedEdits(const std::u16string& folder,
                                                   std::vector<PendingEditMemory::Pair> pairs) {
  auto& stamps = stamps_[folder];
  std::vector<SavedEdit> edits;
  edits.reserve(pairs.size());
  for (auto& [original, renamed] : pairs) {
    auto known = stamps.find(original);
    if (known == stamps.end()) {
      // A file that cannot be read now is kept without a stamp, and will not come back by itself.
      if (std::optional<FileStamp> now = fileSystem_.StampOf(JoinPath(folder, original))) {
        known = stamps.emplace(original, *now).first;
      }
    }
    const std::optional<FileStamp> stamp = known == stamps.end() ? std::nullopt : std::optional<FileStamp>(known->second);
    edits.push_back({std::move(original), std::move(renamed), stamp});
  }
  return edits;
}

FolderEdits EditorSession::EditsToKeep() {
  FolderEdits edits;
  const std::u16string& current = editor_.CurrentFolder();
  for (const auto& [folder, pairs] : pending_.Folders()) {
    if (folder != current) edits[folder] = StampedEdits(folder, pairs);
  }
  if (current.empty()) return edits;
  std::vector<PendingEditMemory::Pair> shown = pending_.PairsToSave(current, editor_.Names(), Listed());
  // Moved: a copy of every changed line's names would double what a write of a large folder holds.
  if (!shown.empty()) edits[current] = StampedEdits(current, std::move(shown));
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
  bool allWritten = true;
  // Only the files of the folders that changed are read and written, whatever the others hold.
  for (const std::u16string& folder : kept_.ChangedFolders(edits)) {
    const auto own = edits.find(folder);
    const std::vector<SavedEdit>* mine = own == edits.end() ? nullptr : &own->second;
    bool unchanged = false;
    const bool written = UpdateSharedFile(KeptFileOf(folder), [&](std::string_view current) {
      std::optional<std::string> merged = kept_.MergeFolder(folder, current, mine);
      unchanged = !merged;
      return merged;
    });
    if (written || unchanged) {
      kept_.WrittenFolder(folder, mine);
    } else {
      allWritten = false;
    }
  }
  return allWritten;
}

void EditorSession::CheckConflicts() {
  if (!checkConflicts_) return;
  editor_.TakeKeysChanged();
  conflictChecker_.Check(editor_.Names(), editor_.Keys(), editor_.ListGeneration(), links_);
}

const ConflictLinks& EditorSession::Links() {
  if (checkConflicts_ && editor_.TakeKeysChanged()) {
    conflictChecker_.Check(editor_.Names(), editor_.Keys(), editor_.ListGeneration(), links_);
  }
  return links_;
}

std::vector<ValidationProblem> EditorSession::Validate() { return FindProblems(editor_, fileSystem_); }

std::u16string EditorSession::ApplySummary() const {
  const std::u16string& folder = editor_.CurrentFolder();
  if (folder.empty()) return {};
  return RenameOrderText(OrderRenames(editor_.Names(), WithTrailingSeparator(folder), fileSystem_));
}

void EditorSession::GoToLine(std::size_t line) {
  if (line >= editor_.LineCount()) return;
  const auto at = static_cast<std::int32_t>(line);
  const std::int32_t column = editor_.MinColumn();
  editor_.SetSelection({at, at, column, column}, {at, column});
  editor_.ScrollLineIntoView(at);
  editor_.ScrollColumnIntoView(column);
}

ApplyOutcome EditorSession::ApplyChanges(bool verify, bool autoRename, WithoutJournal withoutJournal) {
  const std::u16string folder = editor_.CurrentFolder();
  if (folder.empty()) return {};
  if (fileSystem_.KindOf(folder) != PathKind::Folder) return {.kind = ApplyOutcome::Kind::FolderUnreadable};
  if (verify && !Validate().empty()) return {.kind = ApplyOutcome::Kind::ValidationFailed};
  RenameBatchResult batch;
  std::u16string unprotectedReason;
  {
    const std::unique_ptr<WorkProgress> progress = progress_->Start(WorkKind::Renaming);
    const RenamePlan plan = PlanRenames(editor_.Names(), folder, fileSystem_);
    JournalledBatch done = RenameUnderJournal(editor_.Names(), folder, plan, fileSystem_, autoRename, *progress,
                                              journalFolder_, withoutJournal == WithoutJournal::Apply);
    unprotectedReason = std::move(done.unprotectedReason);
    if (done.refused) return {.kind = ApplyOutcome::Kind::Unprotected, .unprotectedReason = unprotectedReason};
    batch = std::move(done.batch);
    RecordInHistory(EntryOfBatch(HistoryKind::Apply, folder, plan, batch));
  }
  // What the reload would drop: the edits of the skipped files, marked, and those of the lines a
  // cancel left unreached.
  NameList kept;
  for (std::size_t i = 0; i < editor_.LineCount(); ++i) {
    const NameEntry& entry = editor_.Names()[i];
    if (!batch.skipped[i] && !batch.unreached[i]) continue;
    NameEntry& edit = kept.emplace_back();
    edit.originalName = entry.originalName;
    edit.newName = entry.newName;
    edit.errorMark = batch.skipped[i];
  }
  revertFolder_ = folder;
  revertList_ = std::move(batch.revertList);
  ApplyOutcome outcome{.kind = ApplyOutcome::Kind::Applied,
                       .skipped = batch.SkippedCount(),
                       .renamed = revertList_.size(),
                       .hiddenEdits = pending_.HiddenPairs(folder, Listed()).size(),
                       .unprotectedReason = unprotectedReason,
                       .skipReport = std::move(batch.report)};
  if (Load(folder, WorkKind::ReloadingAfterApply, UnlistedFolder::KeepsLines) == FolderLoad::Unlisted) {
    // The lines stay as they were; what was renamed can still be reverted.
    outcome.folderLost = true;
    return outcome;
  }
  if (!revertList_.empty()) {
    // The applied edits leave the memory; the kept-edits file loses them file by file, so that
    // another instance's edits of other files of the folder stay.
    pending_.Set(folder, pending_.HiddenPairs(folder, Listed()));
    keptOutdated_ = true;
  }
  KeepEdits(kept);
  // Written at once: a run that ends now must not bring the applied edits back.
  WriteKeptEdits();
  return outcome;
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
  PutBackFormerNames();
  WriteKeptEdits();
  return RevertOutcome::ShowsRenamedFiles;
}

void EditorSession::PutBackFormerNames() {
  std::unordered_map<std::u16string_view, std::size_t> lineOf;
  for (std::size_t line = 0; line < editor_.LineCount(); ++line) lineOf[editor_.Names()[line].originalName] = line;
  std::vector<LineName> formerNames;
  NameList unlisted;  // renamed files the list does not show (a filter hides them, or they were moved)
  for (const NameEntry& renamed : revertList_) {
    if (const auto it = lineOf.find(renamed.originalName); it != lineOf.end()) {
      formerNames.push_back({it->second, renamed.newName});
    } else {
      NameEntry& line = unlisted.emplace_back(renamed);
      line.lineText = ScopedPart(line.newName, editor_.Scope());
    }
  }
  // The other lines keep their edits; the former names are one undo step.
  editor_.SetNewNames(formerNames, UndoStep::Take);
  if (unlisted.empty()) return;
  links_.Clear();
  NameList lines = editor_.Names();
  lines.insert(lines.end(), std::make_move_iterator(unlisted.begin()), std::make_move_iterator(unlisted.end()));
  editor_.ReplaceLines(std::move(lines));
}

NumberingResult EditorSession::NumberSelection(CommandNote& note) {
  std::size_t padded = 0;
  const NumberingResult result = nomvarix::NumberSelection(editor_, &padded);
  note = PaddedLinesNote(result == NumberingResult::Done ? padded : 0, true);
  return result;
}

CommandNote EditorSession::RightAlignAll() { return PaddedLinesNote(nomvarix::RightAlignAll(editor_), false); }

std::optional<CommandNote> EditorSession::RightAlignSelection() {
  const std::optional<std::size_t> padded = nomvarix::RightAlignSelection(editor_);
  if (!padded) return std::nullopt;
  return PaddedLinesNote(*padded, false);
}
void EditorSession::TrimLeftSelection() { nomvarix::TrimLeftSelection(editor_); }
void EditorSession::TrimLeftAll() { nomvarix::TrimLeftAll(editor_); }

CommandNote EditorSession::InsertFromFiles(WorkKind kind, std::u16string_view what, const FileTextSource& source) {
  const std::unique_ptr<WorkProgress> progress = progress_->Start(kind);
  const FileTextInsertion insertion = InsertFileTextInParallel(editor_, source, *progress);
  return LinesWithoutValueNote(insertion.withoutText, insertion.reached, what);
}

CommandNote EditorSession::InsertCreationDate(std::u16string_view formatName) {
  return InsertFromFiles(WorkKind::InsertingDates, u"creation date",
                         Formatted([this](std::u16string_view path) { return fileSystem_.CreationTime(path); },
                                   [formatName](auto time) { return FormatCreationDate(time, formatName); }));
}

CommandNote EditorSession::InsertImageSize(std::u16string_view pattern) {
  return InsertFromFiles(WorkKind::InsertingImageSizes, u"image size",
                         Formatted([this](std::u16string_view path) { return GetImageSize(fileSystem_, path); },
                                   [pattern](const auto& size) { return FormatImageSize(size, pattern); }));
}

CommandNote EditorSession::InsertDateTaken(std::u16string_view formatName) {
  return InsertFromFiles(WorkKind::InsertingDatesTaken, u"date taken",
                         Formatted([this](std::u16string_view path) { return GetDateTaken(fileSystem_, path); },
                                   [formatName](auto time) { return FormatCreationDate(time, formatName); }));
}

CommandNote EditorSession::InsertFromMetadata(std::u16string_view pattern, const std::optional<std::u16string>& fallback) {
  settings_.WriteString(settings::kMetadataPattern, pattern);
  const MetadataNeeds needs = NeedsOf(pattern);
  const BlockSelection& s = editor_.Selection();
  const bool atNameStart = std::min(s.startColumn, s.endColumn) == 0;
  return InsertFromFiles(WorkKind::ReadingMetadata, u"metadata",
                         [&](std::u16string_view path) -> std::optional<std::u16string> {
                           std::optional<std::u16string> text =
                               ExpandMetadataPattern(pattern, ReadMetadataRecord(fileSystem_, path, needs), fallback);
                           // A name never starts with white space.
                           if (text && atNameStart) text->erase(text->begin(), std::find_if_not(text->begin(), text->end(), IsWhiteSpace));
                           return text;
                         });
}

std::vector<MetadataRecord> EditorSession::SelectedMetadata() {
  const std::vector<std::u16string> paths = SelectedFilePaths(editor_);
  std::vector<MetadataRecord> records(paths.size());
  const std::unique_ptr<WorkProgress> progress = progress_->Start(WorkKind::ReadingMetadata);
  const MetadataNeeds all{.photo = true, .audio = true, .file = true};
  const std::size_t reached = ReadInParallel(
      paths.size(), [&](std::size_t i) { records[i] = ReadMetadataRecord(fileSystem_, paths[i], all); }, *progress);
  if (reached < paths.size()) return {};
  return records;
}

std::u16string EditorSession::LastMetadataPattern() const {
  return settings_.ReadString(settings::kMetadataPattern, settings::kMetadataPatternDefault);
}

bool EditorSession::SortByDateTaken() {
  const NameList& names = editor_.Names();
  if (names.empty()) return true;
  std::vector<std::optional<FileClock::time_point>> taken(names.size());
  const std::unique_ptr<WorkProgress> progress = progress_->Start(WorkKind::SortingByDateTaken);
  const std::u16string folder = editor_.CurrentFolder();
  const std::size_t reached = ReadInParallel(
      names.size(), [&](std::size_t i) { taken[i] = GetDateTaken(fileSystem_, folder + names[i].originalName); },
      *progress);
  if (reached < names.size()) return false;
  std::vector<std::size_t> order(names.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Stable: equal dates, and the lines without one, keep the order of the list.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (!taken[a] || !taken[b]) return taken[a].has_value() && !taken[b].has_value();
    return *taken[a] < *taken[b];
  });
  NameList sorted;
  sorted.reserve(names.size());
  for (const std::size_t i : order) sorted.push_back(names[i]);
  links_.Clear();
  editor_.ReplaceLines(std::move(sorted));
  return true;
}

SearchOutcome EditorSession::FindNext(std::u16string_view text, SearchOptions options) {
  const std::unique_ptr<WorkProgress> progress = progress_->Start(WorkKind::Searching);
  return nomvarix::FindNext(editor_, search_, text, options, false, *progress);
}

SearchOutcome EditorSession::ReplaceCurrent(std::u16string_view text, std::u16string_view replacement,
                                            SearchOptions options) {
  const std::unique_ptr<WorkProgress> progress = progress_->Start(WorkKind::Searching);
  return nomvarix::ReplaceCurrent(editor_, search_, text, replacement, options, *progress);
}

ReplaceAllOutcome EditorSession::ReplaceAll(std::u16string_view text, std::u16string_view replacement,
                                            SearchOptions options) {
  const std::unique_ptr<WorkProgress> progress = progress_->Start(WorkKind::ReplacingAll);
  return nomvarix::ReplaceAll(editor_, search_, text, replacement, options, *progress);
}

void EditorSession::ApplyParsedPairs(const std::vector<std::vector<RenamePair>>& groups) {
  std::unordered_map<std::u16string_view, std::size_t> lineOf;
  for (std::size_t line = 0; line < editor_.LineCount(); ++line) lineOf[editor_.Names()[line].originalName] = line;
  std::vector<LineName> newNames;
  for (const auto& group : groups) {
    for (const RenamePair& pair : group) {
      if (pair.IsRefused()) continue;
      if (const auto it = lineOf.find(pair.original); it != lineOf.end()) newNames.push_back({it->second, pair.renamed});
    }
  }
  // One undo step, so that the names the user had typed come back with Ctrl+Z.
  editor_.SetNewNames(newNames, UndoStep::Take);
}

void EditorSession::ResetAllNames() {
  std::vector<LineName> originals;
  originals.reserve(editor_.LineCount());
  for (std::size_t line = 0; line < editor_.LineCount(); ++line) originals.push_back({line, editor_.Names()[line].originalName});
  // One undo step: a misplaced click on the corner must not drop every edit for good.
  editor_.SetNewNames(originals, UndoStep::Take);
  for (std::size_t line = 0; line < editor_.LineCount(); ++line) editor_.SetErrorMark(line, false);
}

void EditorSession::ResetName(std::int32_t line) {
  if (line < 0 || static_cast<std::size_t>(line) >= editor_.LineCount()) return;
  const auto index = static_cast<std::size_t>(line);
  editor_.SetNewNames({{index, editor_.Names()[index].originalName}}, UndoStep::Take);
}

void EditorSession::ToggleAutoCheckConflicts() {
  checkConflicts_ = !checkConflicts_;
  settings_.WriteFlag(settings::kCheckConflict, checkConflicts_);
  editor_.TakeKeysChanged();
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

bool EditorSession::TypeChar(char16_t ch) { return editor_.TypeChar(ch); }
bool EditorSession::Backspace() { return editor_.Backspace(); }
bool EditorSession::DeleteForward() { return editor_.DeleteForward(); }
bool EditorSession::Undo() { return editor_.Undo(); }
bool EditorSession::Redo() { return editor_.Redo(); }

bool EditorSession::CopySelection(Clipboard& clipboard) const {
  const std::u16string text = editor_.SelectedText();
  return !text.empty() && clipboard.WriteText(text);
}

bool EditorSession::CutSelection(Clipboard& clipboard) {
  if (editor_.Selection().IsNone()) return false;
  CopySelection(clipboard);
  return editor_.CutSelection();
}

bool EditorSession::PasteClipboard(const Clipboard& clipboard) {
  // Only what the paste uses is kept of the text as it is read: a huge clipboard costs little.
  PastedText pasted(editor_.PastedPiecesUsed(), NameEditor::kMaxLineLength);
  if (!clipboard.ReadTextInParts([&](std::u16string_view part) { pasted.Append(part); })) return false;
  return editor_.PastePieces(pasted.Finish());
}

}  // namespace nomvarix
