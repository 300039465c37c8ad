#pragma once

#include <functional>
#include <memory>

#include <wx/dialog.h>

#include "session/HistoryBrowser.h"

class wxCheckBox;
class wxListCtrl;

namespace nomvarix {

class HistoryEntryList;
class HistoryFileList;

/// "Rename History": the entries newest first (time, what, folder, files, state); choosing one
/// lists its renames with what an undo would do to each file now. "Undo Entry" undoes every file,
/// "Undo Selected Files" the files selected; files found under another name move back only with
/// the check box on. Every rule is HistoryBrowser's; the dialog shows it and forwards the choice.
class CRenameHistoryDlg final : public wxDialog {
 public:
  enum ControlId { kEntryList = 1050, kFileList, kElsewhereBox, kUndoEntry, kUndoSelected };
  /// Reads the history again (after an undo, which adds an entry).
  using Load = std::function<std::unique_ptr<HistoryBrowser>()>;
  /// Undoes the files of an entry that a choice names.
  using Undo = std::function<void(const HistoryEntry& entry, const UndoChoice& choice)>;

  CRenameHistoryDlg(wxWindow* parent, Load load, Undo undo);

 private:
  void Reload(std::size_t row);
  void Choose(std::size_t row);
  void UndoFiles(bool selectedOnly);

  Load load_;
  Undo undo_;
  std::unique_ptr<HistoryBrowser> browser_;
  HistoryEntryList* entries_ = nullptr;
  HistoryFileList* files_ = nullptr;
  wxCheckBox* elsewhere_ = nullptr;
};

}  // namespace nomvarix
