#pragma once

#include <string>
#include <string_view>

#include "apply/ConflictCheck.h"
#include "apply/PendingEditMemory.h"
#include "editor/NameEditor.h"

namespace nomvarix {

class Clipboard;
class FileSystem;
class SettingsStore;

/// The question asked before "Reload" and "Reset and Reload" throw the edits away.
inline constexpr std::u16string_view kReloadQuestion =
    u"Are you sure you want to reload the current folder?\nAll changes will be lost.";

/// Everything the editor holds, and the commands that change it. The view reads it through the
/// const accessors, calls the commands, and shows whatever they ask to show.
class EditorSession {
 public:
  /// Reads "SortCaseSensitive", "SortByExtension" and "CheckConflict" from `settings`.
  EditorSession(FileSystem& fileSystem, SettingsStore& settings);

  const NameEditor& Editor() const { return editor_; }
  NameEditor& Editor() { return editor_; }
  const ConflictLinks& Links() const { return links_; }
  const PendingEditMemory& PendingEdits() const { return pending_; }
  bool SortCaseSensitive() const { return order_.caseSensitive; }
  bool SortByExtension() const { return order_.byExtension; }
  bool CheckConflictsEnabled() const { return checkConflicts_; }

  /// Loads `folder` (ending with a separator) and drops the conflict links of the old list.
  bool LoadFolder(std::u16string_view folder);
  /// Leaves the current folder for `folder`: its edits are kept, the new folder's come back.
  void SwitchToFolder(std::u16string_view folder);

  void SavePendingEdits();
  /// Puts the remembered edits of `folder` back and checks for conflicts; false when there were none.
  bool RestorePendingEdits(std::u16string_view folder);
  void ForgetPendingEdits(std::u16string_view folder);

  /// Rebuilds the conflict links, unless "Auto-Check For Conflicts" is off (then they stay).
  void CheckConflicts();
  /// "Auto-Check For Conflicts": flips the switch and stores it; runs no check.
  void ToggleAutoCheckConflicts();

  /// "Sort Case Sensitive", "Sort by File Name", "Sort by File Type then Name": store the order
  /// (also when it did not change) and reload the folder in it, keeping the edits.
  void ToggleSortCaseSensitive();
  void SortByFileName();
  void SortByFileType();

  /// "Reload" after the user said Yes to kReloadQuestion: the folder's edits are dropped.
  void ReloadConfirmed();

  /// The red triangles: every name, or one line's, back to its name on disk, the conflict check
  /// after. No undo snapshot is taken. Resetting every name also clears every error mark.
  void ResetAllNames();
  void ResetName(std::int32_t line);

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
  void ReloadKeepingEdits();
  /// Runs the conflict check after an operation that ran; passes its result on.
  bool CheckedIf(bool changed);

  FileSystem& fileSystem_;
  SettingsStore& settings_;
  NameEditor editor_;
  ConflictLinks links_;
  PendingEditMemory pending_;
  SortOrder order_;
  bool checkConflicts_;
};

}  // namespace nomvarix
