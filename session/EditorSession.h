#pragma once

#include <cstddef>
#include <future>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>
#include <string_view>

#include "apply/ConflictCheck.h"
#include "ai/RenamePair.h"
#include "apply/KeptEdits.h"
#include "apply/PendingEditMemory.h"
#include "editor/NameEditor.h"
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

/// The name of the saved-edits file in the program's state folder.
inline constexpr std::u16string_view kKeptEditsFileName = u"PendingEdits.json";

/// The messages of validating, applying and reverting.
inline constexpr std::u16string_view kValidationFailed = u"Errors were found. Please correct them before applying changes.";
inline constexpr std::u16string_view kNothingToRevert = u"Nothing to revert from.";
inline constexpr std::u16string_view kRevertFolderMismatch = u"Backup folder path does not match current folder path.";
/// "%d file(s) were skipped due to errors or conflicts." for `count`.
std::u16string SkippedFilesMessage(std::size_t count);

/// What "Apply Changes" did after the user confirmed it.
struct ApplyOutcome {
  enum class Kind { NoFolder, ValidationFailed, Applied } kind = Kind::NoFolder;
  std::size_t skipped = 0;
  std::size_t renamed = 0;
  /// Why files were skipped that no validation could foresee (RenameBatchResult::report).
  std::u16string skipReport = {};
};

/// The status-bar text after an apply: "Renamed 9,990 files, skipped 10." ("file" for one).
std::u16string AppliedStatusText(const ApplyOutcome& outcome);

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
  const ConflictLinks& Links() const { return links_; }
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
  /// to kKeptEditsFileName in it.
  void SetStateFolder(const std::u16string& folder);

  /// Loads the files of `folder` (ending with a separator) that pass the filter, and drops the
  /// conflict links of the old list. A cancelled load leaves the list empty, as a folder that
  /// cannot be listed does; the result is then false.
  bool LoadFolder(std::u16string_view folder);
  /// Leaves the current folder for `folder`: its edits are kept, the new folder's come back.
  void SwitchToFolder(std::u16string_view folder);

  /// The new filter from the dialog's two fields; the folder is loaded again and the remembered
  /// edits of the files still listed come back.
  void SetFilter(std::u16string_view extensionText, std::u16string_view includeText);

  void SavePendingEdits();
  /// Puts the remembered edits of `folder` back and checks for conflicts; false when there were none.
  bool RestorePendingEdits(std::u16string_view folder);
  /// Drops the folder's remembered edits, and its saved copy at the next WriteKeptEdits.
  void ForgetPendingEdits(std::u16string_view folder);

  /// The saved-edits file that keeps the unapplied edits between runs, shared by every running
  /// instance (empty: none). While "KeepEditsBetweenRuns" is on, a folder opened for the first
  /// time in this run gets its saved edits back, and WriteKeptEdits saves them.
  void SetKeptEditsFile(std::u16string path) { keptFile_ = std::move(path); }
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
  /// "Auto-Check For Conflicts": flips the switch and stores it; runs no check.
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
  /// after. No undo snapshot is taken. Resetting every name also clears every error mark.
  void ResetAllNames();
  void ResetName(std::int32_t line);

  /// "Validate Changes": checks the changed lines, marks the ones with problems, and gives the
  /// report; false when nothing was found.
  bool Validate(std::u16string& report);
  /// Renames the changed files (after validating them when `verify`), then loads the folder again.
  /// The lines of skipped files keep their new names and are marked. The files renamed can be
  /// reverted until another folder is chosen. Before the first rename, every planned rename is
  /// written to a journal in the journal folder, which is removed once the renaming is over.
  /// A cancel stops the renaming before the next line:
  /// the lines not reached keep their new names, unmarked. The reload cannot be cancelled.
  ApplyOutcome ApplyChanges(bool verify, bool autoRename);
  /// "Revert Last Changes": puts the last apply's renames back as edits, or, when no revert is
  /// armed, loads the folder again and arms one. That reload asks first (AsksBeforeReload) when it
  /// would drop edits not applied yet, unless `reload` says the user agreed, which drops the
  /// folder's remembered edits too, as "Reload" does. A cancelled reload arms nothing.
  RevertOutcome RevertLastChanges(RevertReload reload = RevertReload::KeepEdits);

  /// The renaming commands of the Tools pop-up. Padding and trimming run the conflict check after.
  bool Transform(TextTransform transform) { return TransformSelection(editor_, transform); }
  NumberingResult NumberSelection() { return nomvarix::NumberSelection(editor_); }
  void RightAlignAll();
  /// False when the selection has only one line (nothing done).
  bool RightAlignSelection();
  void TrimLeftSelection();
  void TrimLeftAll();
  /// The files' creation dates by a format name, or their image sizes by a pattern such as "_(WxH)_".
  void InsertCreationDate(std::u16string_view formatName);
  void InsertImageSize(std::u16string_view pattern);
  /// The dates the photos were taken (EXIF), by the same format names as the creation dates.
  void InsertDateTaken(std::u16string_view formatName);

  /// The AI's answers put into the editor: each pair's new name goes to the line whose name on disk
  /// is the pair's original (the last such line; later pairs win). Every line is refreshed and the
  /// conflicts checked; when any name is set this is one undo step.
  void ApplyParsedPairs(const std::vector<std::vector<RenamePair>>& groups);

  /// The editing operations, each followed by the conflict check when it ran.
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
  /// Whether edits are kept between runs, and there is a file to keep them in.
  bool Keeping() const { return keepEdits_ && !keptFile_.empty(); }
  /// Inserts each selected line's file text from `source`, with progress of `kind`.
  void InsertFromFiles(WorkKind kind, const FileTextSource& source);
  enum class FolderLoad { Loaded, Unlisted, Cancelled };
  FolderLoad Load(std::u16string_view folder, WorkKind kind = WorkKind::LoadingFolder);
  void ReloadKeepingEdits();
  /// The first time in this run that `folder` is opened, its saved edits become its remembered
  /// ones, unless it has some already.
  void TakeKeptEdits(std::u16string_view folder);
  /// Every folder's unapplied edits as they would be saved now.
  FolderEdits EditsToKeep() const;
  /// Merges `edits` into the saved-edits file; the only user of kept_ while a write runs.
  bool WriteEdits(FolderEdits edits);
  /// Waits for the write started last, if any; the edits are outdated again when it failed.
  void FinishWritingKeptEdits();
  /// Runs the conflict check after an operation that ran; passes its result on.
  bool CheckedIf(bool changed);

  /// After the reload that follows an apply: the lines of the files in `kept` (by name on disk) get
  /// their new names back, and the error marks of their entries.
  void KeepEdits(const NameList& kept);

  FileSystem& fileSystem_;
  SettingsStore& settings_;
  WorkProgressFactory* progress_ = &NoProgressFactory();
  NameEditor editor_;
  ConflictLinks links_;
  ConflictChecker conflictChecker_;
  PendingEditMemory pending_;
  std::u16string keptFile_;
  bool keepEdits_;
  KeptEdits kept_;
  /// The folders opened in this run: only the first opening takes the saved edits.
  std::set<std::u16string> openedFolders_;
  bool keptOutdated_ = false;
  std::future<bool> keptWrite_;
  SortOrder order_;
  bool checkConflicts_;
  NameFilter filter_;
  SearchMemory search_;
  std::u16string journalFolder_;
  /// The folder of the last apply while a revert is armed, and the files that apply renamed.
  std::u16string revertFolder_;
  NameList revertList_;
};

}  // namespace nomvarix
