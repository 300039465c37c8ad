#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "apply/HistoryUndo.h"
#include "apply/RenameHistory.h"

namespace nomvarix {

class FileSystem;

/// What the "Rename History" dialog shows and asks for, without the dialog: the entries newest
/// first, each with its state as the disk shows it now, and for the chosen entry its files with
/// what an undo would do to each.
class HistoryBrowser {
 public:
  /// One entry's row: "2026-12-10 19:08" (local time), "Apply", the folder, "333 files", the state.
  struct Row {
    std::u16string time;
    std::u16string kind;
    std::u16string folder;
    std::u16string count;
    std::u16string state;
  };
  /// One file's row: its old and new name and what an undo would do to it now.
  struct FileRow {
    std::u16string oldName;
    std::u16string newName;
    std::u16string undo;
  };

  /// `oldestFirst` as the history file holds them. Looks at the disk for each entry's state.
  HistoryBrowser(std::vector<HistoryEntry> oldestFirst, const FileSystem& fileSystem);

  const std::vector<Row>& Rows() const { return rows_; }
  /// The entry of row `row` (newest first).
  const HistoryEntry& Entry(std::size_t row) const { return entries_[entries_.size() - 1 - row]; }

  /// Chooses the entry of `row` and looks at its files now; `elsewhereToo` as the dialog's check box.
  void Choose(std::size_t row, bool elsewhereToo);
  std::size_t Chosen() const { return chosen_; }
  const std::vector<FileRow>& FileRows() const { return fileRows_; }
  /// Whether a file of the chosen entry was found under another name: the dialog asks before those move.
  bool AnyFoundElsewhere() const;
  /// The choice for an undo of the chosen entry's files at `fileRows` (none: every file).
  UndoChoice ChoiceOf(const std::vector<std::size_t>& fileRows) const;

 private:
  std::vector<HistoryEntry> entries_;
  const FileSystem& fs_;
  std::vector<Row> rows_;
  std::size_t chosen_ = 0;
  bool elsewhereToo_ = false;
  std::vector<UndoFile> plan_;
  std::vector<FileRow> fileRows_;
};

}  // namespace nomvarix
