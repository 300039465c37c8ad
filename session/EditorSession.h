#pragma once

#include <cstddef>
#include <future>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>
#include <string_view>

#include "apply/ConflictCheck.h"
#include "apply/HistoryUndo.h"
#include "ai/RenamePair.h"
#include "session/CommandNote.h"
#include "apply/KeptEdits.h"
#include "apply/PendingEditMemory.h"
#include "apply/Validation.h"
#include "editor/NameEditor.h"
#include "transform/MetadataRecord.h"
#include "transform/CaseSpace.h"
#include "transform/FileTextInsertion.h"
#include "transform/FindReplace.h"
#include "transform/NameFilter.h"
#include "transform/SmartNumbering.h"

namespace nomvarix {

class Clipboard;
class FileSystem;
class SettingsStore;

/// The question asked before "Reload" and "Reset and Reload" throw the edits away.
inline constexpr std::u16string_view kReloadQuestion =
    u"Are you sure you want to reload the current folder?\nAll changes will be lost.";

/// The folder, in the program's state folder, that keeps the unapplied edits between runs: one
/// file per folder (KeptEditsFileName), so that opening or writing a folder never reads the others.
inline constexpr std::u16string_view kKeptEditsFolderName = u"KeptEdits";
/// The single file, in the state folder, in which earlier versions kept every folder's edits; its
/// edits move into the folders' files the first time kept edits are read.
inline constexpr std::u16string_view kKeptEditsFileName = u"PendingEdits.json";

/// "3 kept edits were dropped: their files changed or are gone since they were kept." (for one:
/// "1 kept edit was dropped: its file changed or is gone since it was kept.")
std::u16string DroppedKeptEditsMessage(std::size_t count);

/// "The kept edits of the folder <folder> could not be read: their file is no regular file, far too
/// large or damaged. It was set aside as <setAsideAs>, and the folder's edits are kept anew." (or,
/// when it could not be moved: "It could not be set aside: <file>").
std::u16string UnusableKeptEditsMessage(std::u16string_view folder, std::u16string_view file,
                                        std::optional<std::u16string> setAsideAs);

/// The messages of validating, applying and reverting.
inline constexpr std::u16string_view kValidationFailed = u"Errors were found. Please correct them before applying changes.";
inline constexpr std::u16string_view kNothingToRevert = u"Nothing to revert from.";
inline constexpr std::u16string_view kRevertFolderMismatch = u"Backup folder path does not match current folder path.";
/// "%d file(s) were skipped due to errors or conflicts." for `count`.
std::u16string SkippedFilesMessage(std::size_t count);

/// What "Apply Changes" did after the user confirmed it.
struct ApplyOutcome {
  enum class Kind {
    NoFolder,
    ValidationFailed,
    Unprotected,  ///< nothing renamed: the journal could not be written (`unprotectedReason` says why)
    Applied,
    FolderUnreadable,  ///< the folder is gone or cannot be read: nothing was renamed, nothing changed
  } kind = Kind::NoFolder;
  std::size_t skipped = 0;
  std::size_t renamed = 0;
  /// Lines a filter hides whose edits were not applied; they keep them.
  std::size_t hiddenEdits = 0;
  /// Applied, but the folder could not be read again afterwards: the lines and edits stay as they were.
  bool folderLost = false;
  /// Why no journal protected the apply; empty when one did, or none was wanted.
  std::u16string unprotectedReason{};
  /// Why files were skipped that no validation could foresee (RenameBatchResult::report).
  std::u16string skipReport = {};
};

/// Whether an apply may go on when its journal cannot be written.
enum class WithoutJournal {
  Refuse,  ///< nothing is renamed; the user is asked UnprotectedApplyQuestion first
  Apply,   ///< the user said to apply anyway
};

/// The status-bar text after an apply: "Renamed 9,990 files, skipped 10." ("file" for one); when a
/// filter hid edited lines, " 3 lines hidden by the filter keep edits that were not applied."; and
/// "Crash protection was unavailable." after an apply without a journal.
std::u16string AppliedStatusText(const ApplyOutcome& outcome);
/// "The folder <folder> is gone or cannot be read. Its lines and edits are kept."
std::u16string FolderUnreadableMessage(std::u16string_view folder);

/// What "Revert Last Changes" did.
enum class RevertOutcome {
  ShowsRenamedFiles,  ///< the files of the last apply, with their former names as edits
  NothingToRevert,
  FolderMismatch,
  Reloaded,           ///< the folder was loaded again and the last apply's list armed (not when the load was cancelled)
  AsksBeforeReload,   ///< nothing done: the reload would drop edits not applied yet
};

/// Whether the reload of a disarmed revert may drop edits not applied yet.
enum class RevertReload {
  KeepEdits,  ///< with edits, nothing is done: the user is asked kReloadQuestion first
  DropEdits,  ///< the user said Yes to kReloadQuestion
};

/// What undoing a history entry did.
struct HistoryUndoOutcome {
  enum class Kind {
    Undone,            ///< the batch ran (`renamed` may still be 0 when every file was skipped)
    NothingToUndo,     ///< no chosen file can go back
    FolderUnreadable,  ///< the entry's folder is gone or cannot be read: nothing was renamed
    Unprotected,       ///< nothing renamed: the journal could not be written (`unprotectedReason` says why)
  } kind = Kind::NothingToUndo;
  std::size_t renamed = 0;
  /// The files that stay as they are, a line each with the reason: "b.txt: another file is named a.txt now".
  std::u16string report{};
  std::u16string unprotectedReason{};
};

/// "Undid 3 renames in /photos/." and the files that stay, or why nothing was done.
std::u16string HistoryUndoMessage(const HistoryUndoOutcome& outcome, std::u16string_view folder);

/// Everything the editor holds, and the commands that change it. The view reads it through the
/// const accessors, calls the commands, and shows whatever they ask to show.
class EditorSession {
 public:
  /// Reads "SortCaseSensitive", "SortByExtension", "SortNumbersByValue", "CheckConflict" and
  /// "KeepEditsBetweenRuns" from `settings`.
  EditorSession(FileSystem& fileSystem, SettingsStore& settings);
  /// Waits for a write of the saved edits still running.
  ~EditorSession();

  const NameEditor& Editor() const { return editor_; }
  NameEditor& Editor() { return editor_; }
  /// The conflict links, first brought up to date when any line's new name changed since the last
  /// check, however it changed (typing, a Tools command, Replace All, the AI's answers, a macro, a
  /// reset, a revert). Left as they are while "Auto-Check For Conflicts" is off; a load clears them.
  const ConflictLinks& Links();
  const PendingEditMemory& PendingEdits() const { return pending_; }
  bool SortCaseSensitive() const { return order_.caseSensitive; }
  bool SortByExtension() const { return order_.byExtension; }
  bool SortNumbersByValue() const { return order_.numbersByValue; }
  bool CheckConflictsEnabled() const { return checkConflicts_; }
  const NameFilter& Filter() const { return filter_; }
  FileSystem& FileSystemPort() { return fileSystem_; }
  SearchMemory& Search() { return search_; }

  /// Where the long operations (loading a folder, applying, inserting dates and image sizes) report
  /// their progress and learn of a cancel; by default nowhere. `factory` must outlive the session.
  void SetProgressFactory(WorkProgressFactory& factory) { progress_ = &factory; }
  /// Where each apply keeps its journal until it has finished (empty, the default: nowhere), so
  /// that the next run can set right an apply that ended half way.
  void SetJournalFolder(std::u16string folder) { journalFolder_ = std::move(folder); }
  /// The folder for what outlives a run (empty: none): the journals go there, and the kept edits
  /// to kKeptEditsFolderName in it.
  void SetStateFolder(const std::u16string& folder);

  /// Loads the files of `folder` (ending with a separator) that pass the filter, and drops the
  /// conflict links of the old list. A cancelled load leaves the list empty, as a folder that
  /// cannot be listed does; the result is then false.
  bool LoadFolder(std::u16string_view folder);
  /// Leaves the current folder for `folder`: its edits are kept, the new folder's come back.
  void SwitchToFolder(std::u16string_view folder);

  /// The new filter from the dialog's two fields; the folder is loaded again, in the scope it was
  /// shown in, and the remembered edits of the files still listed come back.
  void SetFilter(std::u16string_view extensionText, std::u16string_view includeText);
  /// The count the header shows: "Total: 24", and with a filter in force the folder's files too,
  /// and the filter: "Total: 0 of 24 (filter: mp3)". A filter carried to another folder is never
  /// invisible.
  std::u16string TotalText() const;
  /// The status bar's word on a filter in force: "Filter: mp3 (24 of 24 files hidden)"; empty
  /// without one.
  std::u16string FilterStatusText() const;

  void SavePendingEdits();
  /// Puts the remembered edits of `folder` back and checks for conflicts; false when there were none.
  bool RestorePendingEdits(std::u16string_view folder);
  /// Drops the folder's remembered edits, and its saved copy at the next WriteKeptEdits.
  void ForgetPendingEdits(std::u16string_view folder);

  /// The state folder whose kept-edits files keep the unapplied edits between runs, shared by
  /// every running instance (empty: none). While "KeepEditsBetweenRuns" is on, a folder opened for
  /// the first time in this run gets its saved edits back, and WriteKeptEdits saves them. A saved
  /// edit comes back only onto the very file it was made for: the file of that name must have the
  /// identity (where the file system keeps identities), size, modification time and birth time
  /// recorded with it. Any other saved edit is dropped, from the files too, and counted
  /// (TakeDroppedKeptEdits). Edits of the earlier single file, which recorded none of that, are
  /// therefore dropped as well, and counted.
  void SetKeptEditsFolder(const std::u16string& stateFolder);
  /// How many saved edits the folders opened since the last call dropped.
  std::size_t TakeDroppedKeptEdits() { return std::exchange(droppedKept_, 0); }
  /// The message for the kept-edits files of the folders opened since the last call that could not
  /// be used (a pipe, a device, a link to one, a file far too large or damaged): each was set aside
  /// as a ".bad" file beside it, never read, so it is met once (UnusableKeptEditsMessage). Empty when
  /// there were none.
  std::u16string TakeKeptEditsWarning() { return std::exchange(keptWarning_, std::u16string()); }
  bool KeepsEditsBetweenRuns() const { return keepEdits_; }
  /// "KeepEditsBetweenRuns": flips the switch and stores it. Off, nothing is read or written.
  void ToggleKeepEditsBetweenRuns();
  /// Whether the edits may differ from those last written to the saved-edits file; cheap enough
  /// to ask whenever the program is idle.
  bool KeptEditsOutdated();
  /// Writes every folder's unapplied edits, the current lines' included, into the saved-edits
  /// file, keeping the folders that other instances saved. False when nothing is kept or the file
  /// could not be written (the edits then stay outdated).
  bool WriteKeptEdits();
  /// As WriteKeptEdits, but only the edits are gathered here: the file is merged and written on
  /// another thread, so that the editor does not wait for the disk. While an earlier write is
  /// still running nothing is started, and the edits stay outdated.
  void StartWritingKeptEdits();

  /// Rebuilds the conflict links, unless "Auto-Check For Conflicts" is off (then they stay).
  void CheckConflicts();
  /// "Auto-Check For Conflicts": flips the switch and stores it; runs no check, and what changed
  /// while it was off is checked only with the next change.
  void ToggleAutoCheckConflicts();

  /// "Sort Case Sensitive", "Sort by File Name", "Sort by File Type then Name": store the order
  /// (also when it did not change) and reload the folder in it, keeping the edits.
  void ToggleSortCaseSensitive();
  /// "Sort Numbers by Value": flips and stores it, then reloads as the sort commands do.
  void ToggleSortNumbersByValue();
  void SortByFileName();
  void SortByFileType();

  /// "Reload" after the user said Yes to kReloadQuestion: the folder's edits are dropped.
  void ReloadConfirmed();

  /// The red triangles: every name, or one line's, back to its name on disk, the conflict check
  /// after. Either is one undo step when it changes a name. Resetting every name also clears every
  /// error mark.
  void ResetAllNames();
  void ResetName(std::int32_t line);

  /// "Validate Changes": checks the changed lines, marks the ones with problems, and lists every
  /// problem found (none: empty).
  std::vector<ValidationProblem> Validate();
  /// Puts the caret at the start of `line` and scrolls it into view, as choosing a problem of the
  /// validation does; a line out of range is ignored.
  void GoToLine(std::size_t line);
  /// What an apply would do now, for its confirmation: "400 renames, 399 of them in one chain; 2
  /// swaps through a temporary name." Empty with no folder.
  std::u16string ApplySummary() const;
  /// Renames the changed files (after validating them when `verify`), then loads the folder again.
  /// A folder that is gone or cannot be read is left alone (FolderUnreadable), and when it cannot
  /// be read again after the renaming, the lines and edits stay as they were (folderLost). Edits of
  /// lines that a filter hides are not applied and are kept.
  /// The lines of skipped files keep their new names and are marked. The files renamed can be
  /// reverted until another folder is chosen. Before the first rename, every planned rename is
  /// written to a journal in the journal folder, which is removed once the renaming is over.
  /// A cancel stops the renaming before the next line:
  /// the lines not reached keep their new names, unmarked. The reload cannot be cancelled.
  /// When the journal folder is set but the journal cannot be written there, nothing is renamed
  /// (Unprotected) unless `withoutJournal` says to apply anyway.
  ApplyOutcome ApplyChanges(bool verify, bool autoRename, WithoutJournal withoutJournal = WithoutJournal::Refuse);
  /// "Revert Last Changes": puts the last apply's renames back as edits (the lines of the renamed
  /// files get their former names as one undo step, every other line keeps its edit; a renamed file
  /// the list does not show gets a line of its own), or, when no revert is
  /// armed, loads the folder again and arms one. That reload asks first (AsksBeforeReload) when it
  /// would drop edits not applied yet, unless `reload` says the user agreed, which drops the
  /// folder's remembered edits too, as "Reload" does. A cancelled reload arms nothing.
  RevertOutcome RevertLastChanges(RevertReload reload = RevertReload::KeepEdits);

  /// Whether finished applies, undos and recoveries go into the rename history of the state folder.
  bool KeepsRenameHistory() const { return keepHistory_ && !stateFolder_.empty(); }
  /// "KeepRenameHistory": flips the switch and stores it.
  void ToggleKeepRenameHistory();
  /// The rename history, oldest first; `message` says what was set aside or could not be read.
  std::vector<HistoryEntry> ReadRenameHistory(std::u16string& message);
  /// Adds a finished batch to the history while it is kept (an entry without files is not added).
  /// What went wrong waits for TakeHistoryMessage.
  void RecordInHistory(HistoryEntry entry);
  /// What the last writes of the history had to say (a file set aside, a failed write); empty when nothing.
  std::u16string TakeHistoryMessage() { return std::exchange(historyMessage_, {}); }
  /// Undoes the chosen files of `entry` as PlanUndo plans it now: a batch that goes through the
  /// apply (journalled, with progress, a cancel stopping it before the next file), never replacing
  /// a file, recorded in the history as an undo of the entry. When the entry's folder is the one
  /// shown, its lines are read again and the unapplied edits stay on their files, the moved ones
  /// included.
  HistoryUndoOutcome UndoFromHistory(const HistoryEntry& entry, const UndoChoice& choice,
                                     WithoutJournal withoutJournal = WithoutJournal::Refuse);

  /// The renaming commands of the Tools pop-up.
  bool Transform(TextTransform transform) { return TransformSelection(editor_, transform); }
  /// "Smart Numberings": the result, and the note on the lines it padded with spaces.
  NumberingResult NumberSelection(CommandNote& note);
  /// Right Align; the note tells how many lines were padded.
  CommandNote RightAlignAll();
  /// Nothing when the selection has only one line (nothing done).
  std::optional<CommandNote> RightAlignSelection();
  void TrimLeftSelection();
  void TrimLeftAll();
  /// The files' creation dates by a format name, or their image sizes by a pattern such as "_(WxH)_".
  /// The note tells how many lines were left as they were because their file has no such value.
  CommandNote InsertCreationDate(std::u16string_view formatName);
  CommandNote InsertImageSize(std::u16string_view pattern);
  /// The dates the photos were taken (EXIF), by the same format names as the creation dates.
  CommandNote InsertDateTaken(std::u16string_view formatName);
  /// "Insert from Metadata": each selected line's file's values by `pattern` (MetadataPattern.h),
  /// inserted as the other insertions do; a line whose file lacks a field of the pattern is left
  /// as it is, or takes `fallback` for it when there is one. Inserted at the start of a name, the
  /// text loses its leading white space. The pattern is remembered (LastMetadataPattern).
  CommandNote InsertFromMetadata(std::u16string_view pattern, const std::optional<std::u16string>& fallback);
  /// The values of every field for the selected lines' files, read on all processors (for the
  /// dialog's preview); empty with no caret or when cancelled.
  std::vector<MetadataRecord> SelectedMetadata();
  std::u16string LastMetadataPattern() const;
  /// "Sort by Date Taken": the lines in the order their photos were taken, those without a date
  /// after them in the order they had; the edits stay, the selection goes. False when cancelled
  /// (the order then stays).
  bool SortByDateTaken();

  /// Find Next, Replace and Replace All of the search dialog (FindReplace.h), reporting the lines
  /// they search to the progress. A cancelled Replace All changes nothing.
  SearchOutcome FindNext(std::u16string_view text, SearchOptions options);
  SearchOutcome ReplaceCurrent(std::u16string_view text, std::u16string_view replacement, SearchOptions options);
  ReplaceAllOutcome ReplaceAll(std::u16string_view text, std::u16string_view replacement, SearchOptions options);

  /// The AI's answers put into the editor: each pair's new name goes to the line whose name on disk
  /// is the pair's original (the last such line; later pairs win). The other lines stay as they
  /// are; when any name changes this is one undo step.
  void ApplyParsedPairs(const std::vector<std::vector<RenamePair>>& groups);

  /// The editing operations; false when nothing was done.
  bool TypeChar(char16_t ch);
  bool Backspace();
  bool DeleteForward();
  bool Undo();
  bool Redo();

  /// Copy, Cut and Paste through `clipboard`. Copy and Cut leave the clipboard as it was when the
  /// selected text is empty; Paste does nothing when the clipboard holds no text.
  bool CopySelection(Clipboard& clipboard) const;
  bool CutSelection(Clipboard& clipboard);
  bool PasteClipboard(const Clipboard& clipboard);

 private:
  /// Whether edits are kept between runs, and there is a folder to keep them in.
  bool Keeping() const { return keepEdits_ && !keptFolder_.empty(); }
  /// The files the filter lets through; empty (every file) when no filter is set.
  EntryFilter Listed() const;
  /// Inserts each selected line's file text from `source`, with progress of `kind`; `what` names
  /// the value in the note.
  CommandNote InsertFromFiles(WorkKind kind, std::u16string_view what, const FileTextSource& source);
  enum class FolderLoad { Loaded, Unlisted, Cancelled };
  FolderLoad Load(std::u16string_view folder, WorkKind kind = WorkKind::LoadingFolder,
                  UnlistedFolder unlisted = UnlistedFolder::Empties);
  void ReloadKeepingEdits();
  /// The first time in this run that `folder` is opened, its saved edits that still fit their
  /// files become its remembered ones, unless it has some already. The number dropped.
  std::size_t TakeKeptEdits(std::u16string_view folder);
  /// Moves the edits of the earlier single file into the folders' files, once.
  void MoveEarlierKeptEdits();
  /// The file that keeps the edits of `folder`.
  std::u16string KeptFileOf(std::u16string_view folder) const;
  /// Every folder's unapplied edits as they would be saved now, each with its file's stamp (read
  /// once per file and list).
  FolderEdits EditsToKeep();
  /// The saved form of one folder's edits, with the stamps known or read now.
  std::vector<SavedEdit> StampedEdits(const std::u16string& folder, std::vector<PendingEditMemory::Pair> pairs);
  /// Merges `edits` into the kept-edits files of the folders that changed; the only user of kept_
  /// while a write runs.
  bool WriteEdits(FolderEdits edits);
  /// Waits for the write started last, if any; the edits are outdated again when it failed.
  void FinishWritingKeptEdits();
  /// The revert's names: each renamed file's line gets its former name back.
  void PutBackFormerNames();
  /// After the reload that follows an apply: the lines of the files in `kept` (by name on disk) get
  /// their new names back, and the error marks of their entries.
  void KeepEdits(const NameList& kept);
  /// The remembered edits of `folder` follow the files an undo moved: an edit of a file's name now
  /// becomes the edit of its old name.
  void MoveEditsWithUndo(const std::u16string& folder, const NameList& undone);

  FileSystem& fileSystem_;
  SettingsStore& settings_;
  WorkProgressFactory* progress_ = &NoProgressFactory();
  NameEditor editor_;
  ConflictLinks links_;
  ConflictChecker conflictChecker_;
  PendingEditMemory pending_;
  std::u16string keptFolder_;
  std::u16string earlierKeptFile_;
  bool earlierKeptMoved_ = false;
  bool keepEdits_;
  KeptEdits kept_;
  /// Per folder, the stamps of the files whose edits were kept, by name on disk: read once after
  /// each listing of the folder, or taken with the saved edits.
  std::unordered_map<std::u16string, std::unordered_map<std::u16string, FileStamp>> stamps_;
  std::size_t droppedKept_ = 0;
  std::u16string keptWarning_;
  /// The folders opened in this run: only the first opening takes the saved edits.
  std::set<std::u16string> openedFolders_;
  bool keptOutdated_ = false;
  std::future<bool> keptWrite_;
  SortOrder order_;
  bool checkConflicts_;
  NameFilter filter_;
  SearchMemory search_;
  std::u16string journalFolder_;
  std::u16string stateFolder_;
  bool keepHistory_;
  std::u16string historyMessage_;
  /// The folder of the last apply while a revert is armed, and the files that apply renamed.
  std::u16string revertFolder_;
  NameList revertList_;
};

}  // namespace nomvarix
