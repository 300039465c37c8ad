#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "editor/BlockSelection.h"
#include "editor/EditScope.h"
#include "editor/NameEntry.h"
#include "editor/NameKey.h"
#include "editor/NameSort.h"
#include "editor/ScrollRequest.h"
#include "editor/TextPos.h"
#include "editor/UndoHistory.h"
#include "editor/UnlistedEntries.h"
#include "editor/ViewMetrics.h"
#include "editor/WorkProgress.h"

namespace nomvarix {

class FileSystem;

/// Decides, after the fixed rules (no ".", "..", folders or hidden files), whether a scanned name
/// gets a line. An empty function accepts every name.
using EntryFilter = std::function<bool(std::u16string_view name)>;

/// What a load does when the folder cannot be listed: show nothing, or keep the lines it shows.
enum class UnlistedFolder { Empties, KeepsLines };

/// A full new name for one line, set from outside the line (an AI answer, a reset, a revert).
struct LineName {
  std::size_t line = 0;
  std::u16string name;
};

/// Whether setting names from outside the lines is one step of the undo history.
enum class UndoStep { Take, None };

/// The two check-box buttons of the scope strip; at least one is always checked.
enum class ScopeButton { Name, Extension };

/// The lines of the editor and everything that decides what they show and how they are edited:
/// the loaded folder, the edit scope and its two buttons, the rectangular selection and the caret,
/// the scroll position and the view's geometry, and the undo history.
class NameEditor {
 public:
  // ---- Lines, scope and folder ----------------------------------------------------------------
  const NameList& Names() const { return names_; }
  /// One key per line, always matching the line's names (for the conflict check).
  const std::vector<NameKey>& Keys() const { return keys_; }
  std::size_t LineCount() const { return names_.size(); }
  EditScope Scope() const { return editScope_; }
  int MinColumn() const { return MinColumnOf(editScope_); }
  bool IsChecked(ScopeButton button) const;
  /// The folder whose files are listed, ending with a separator; empty when nothing is loaded.
  const std::u16string& CurrentFolder() const { return currentFolder_; }
  /// Changes whenever the list is replaced (a load, or the lines of a revert): the names on disk
  /// stay the same as long as it does not.
  std::uint64_t ListGeneration() const { return listGeneration_; }
  /// How many files of the folder the fixed rules let through at the last load, whether the
  /// filter listed them or not (the lines of a revert: their number).
  std::size_t FolderFileCount() const { return folderFileCount_; }
  /// The entries the last load read from the folder that are no line (empty when nothing is loaded).
  const UnlistedEntries& Unlisted() const { return unlisted_; }

  /// Lays out the cells of one line into `cells`, one per code unit of its lineText: each at
  /// index × charWidth, selected inside the marked rectangle, changed where it differs, position
  /// by position, from the original name's part in the current scope. Empty for a line out of
  /// range. The buffer is reused, so that drawing allocates nothing line by line.
  void LayOutCells(std::size_t line, std::vector<GlyphCell>& cells) const;
  /// Only the cells of columns [from, from + count) that the line has: what a paint pass needs of
  /// a line, however long the line is.
  void LayOutCells(std::size_t line, std::vector<GlyphCell>& cells, std::size_t from, std::size_t count) const;
  std::vector<GlyphCell> LineCells(std::size_t line) const;
  /// Whether the cell at (line, column) is marked selected.
  bool IsMarked(std::int32_t line, std::int32_t column) const;
  /// Whether any cell of the line is marked.
  bool LineHasMarks(std::int32_t line) const;
  /// Recomputes newName from lineText after an edit of a line that showed `shownLength` units:
  /// the part of newName outside the scope stays as it was when the line was shown, so the new
  /// name is always that part joined with what the line shows.
  void CommitLineText(std::size_t line, std::size_t shownLength);
  /// Sets lineText from newName by the current scope.
  void RefreshLineText(std::size_t line);

  /// The most UTF-16 units a line may hold: a file name holds at most 255 bytes, and a bound keeps
  /// an edit over many lines from taking all memory.
  static constexpr std::size_t kMaxLineLength = 4096;
  /// The edit every editing operation ends in: new lineText, then CommitLineText. A text longer
  /// than kMaxLineLength (and than the line was) is refused: the line stays as it was and counts
  /// in TakeRefusedLines.
  void SetLineText(std::size_t line, std::u16string text);
  /// Sets the full new name from outside (pending edits, AI answers) and refreshes the line; a name
  /// longer than kMaxLineLength is refused as in SetLineText.
  void SetNewName(std::size_t line, std::u16string name);
  /// Sets the new names of the given lines (the later of two for one line wins; lines out of range
  /// are ignored). A line whose new name changes shows the new name's part in the current scope;
  /// every other line keeps its text and its name, whatever the scope, so that the next edit of it
  /// works from what it shows. With UndoStep::Take, a change of any name is one undo step. Returns
  /// whether any name changed.
  bool SetNewNames(const std::vector<LineName>& names, UndoStep step);
  /// How many line edits were refused for passing kMaxLineLength since the last call; the count
  /// starts again from 0.
  std::size_t TakeRefusedLines() { return refusedLines_.exchange(0, std::memory_order_relaxed); }

  /// Whether any line's newName differs from its name on disk (kept up to date as lines change).
  bool AnyNameChanged() const;
  /// Whether a newName may have changed, or the list been replaced, since the last call: lets a
  /// caller that copies the edits somewhere skip the copy while nothing happened.
  bool TakeNamesTouched() { return namesTouched_.exchange(false, std::memory_order_relaxed); }
  /// Whether a line's key may have changed since the last call, whatever changed it (an edit, a
  /// command, undo, a new list): the conflict links are brought up to date by it.
  bool TakeKeysChanged() { return keysChanged_.exchange(false, std::memory_order_relaxed); }

  /// Marks or unmarks a line as having a problem (validation, applying); out of range is ignored.
  void SetErrorMark(std::size_t line, bool mark) {
    if (line >= names_.size() || names_[line].errorMark == mark) return;
    names_[line].errorMark = mark;
    history_.LineChanged(line);
  }

  /// Switches the scope, the scope buttons checked to match: every line shows the new scope's part
  /// of its newName, nothing selected, the undo history emptied. Returns false, changing nothing, when `scope` is already in force.
  bool SetEditScope(EditScope scope);
  /// Flips one scope button and applies the scope the two buttons now stand for. Turning off the
  /// only checked button turns the other one on. Returns whether the scope changed.
  bool ToggleScopeButton(ScopeButton button);

  /// Replaces the list by the files of `folder` (a path ending with a separator): folders, hidden
  /// files, "." and ".." and names `accepts` rejects are left out; the list is sorted by `order`;
  /// the scope returns to WholeName with both buttons checked, nothing is selected, the first line
  /// is at the top and the undo history is empty. When the folder cannot be listed, or `progress`
  /// (told of every entry read) cancels the listing, the list stays empty and CurrentFolder()
  /// becomes empty; the result is then false. With UnlistedFolder::KeepsLines a folder that cannot
  /// be listed changes nothing at all: lines, edits, selection and undo history stay (a cancelled
  /// listing still empties the list).
  bool LoadFolder(const FileSystem& fileSystem, std::u16string_view folder, SortOrder order,
                  const EntryFilter& accepts = {}, WorkProgress& progress = NoProgress(),
                  UnlistedFolder unlisted = UnlistedFolder::Empties);

  /// Shows `lines` instead of the folder's (the folder's lines with the files of the last apply added,
  /// to be renamed back): a line keeps its lineText when that is what the current scope may show of
  /// its newName (ShowsPartOf), else shows its newName's part in the scope; nothing is selected.
  /// Scope, folder and the undo history stay.
  void ReplaceLines(NameList lines);

  // ---- Selection, caret and marking (NameEditorSelection.cpp) ---------------------------------
  const BlockSelection& Selection() const { return selection_; }
  TextPos Caret() const { return caret_; }
  TextPos DragAnchor() const { return dragAnchor_; }

  /// Sets the rectangle and the caret as a key or mouse gesture made them, then clamps and marks.
  void SetSelection(const BlockSelection& selection, TextPos caret);
  void SetDragAnchor(TextPos anchor) { dragAnchor_ = anchor; }

  /// Keeps the rectangle inside the list and the widest line of its span, and the caret inside
  /// the rectangle; with an empty list, selection and caret become none.
  void ClampSelection();
  /// The largest cell count of the lines first..last; lines outside the list count 0.
  std::int32_t WidestLineInRange(std::int32_t first, std::int32_t last) const;
  /// The largest cell count of all lines (cached until a line changes).
  std::int32_t LongestLineLength() const;
  /// Unmarks every cell.
  void ClearAllMarks();
  /// Marks the cells of the selection's rectangle.
  void MarkSelectionCells();
  /// Marks columns [min(a, b), max(a, b)) on every line.
  void MarkColumnsOnAllLines(std::int32_t a, std::int32_t b);
  /// Marks the rectangle between the drag anchor and (line, column).
  void MarkDragRectangle(std::int32_t line, std::int32_t column);
  /// The position under a client point: the line below `textTop` (clamped into the list), the
  /// column right of the divider (never below MinColumn(), not limited to the line's length).
  /// Column -1 with an empty list.
  TextPos PositionFromPoint(std::int32_t x, std::int32_t y) const;
  /// Selects every column of every line, the caret at the end of the last line. False, doing
  /// nothing, with an empty list.
  bool SelectAll();

  // ---- Text changes (NameEditorTyping.cpp) ----------------------------------------------------
  // Each works on one valid line, ends with CommitLineText, and forgets the
  // longest-line length; lines and columns out of range are left alone.

  /// Inserts at `column` if it is at most the line's length, and if the line stays within
  /// kMaxLineLength (else it is refused as in SetLineText).
  void InsertChar(std::int32_t line, std::int32_t column, char16_t ch);
  void InsertText(std::int32_t line, std::int32_t column, std::u16string_view text);
  /// Keeps only the characters whose cells are not selected.
  void DeleteSelectedCells(std::int32_t line);
  /// As DeleteSelectedCells, unless no character would remain.
  void DeleteSelectedCellsKeepNonEmpty(std::int32_t line);
  /// Deletes the selected cells of the rectangle's lines and collapses it to its left column,
  /// the caret on its last line. Nothing with no selection.
  void DeleteSelection();

  /// A typed character: inserted at a caret or on every line of a column caret, overwriting the
  /// leftmost column of a block. Control characters and | " * / : < > ? \ are refused (and "." in
  /// BaseName scope): false then, with nothing saved. Otherwise true (an undo snapshot was taken
  /// even if nothing changed), and the caller runs the conflict check.
  bool TypeChar(char16_t ch);
  /// Backspace and Delete by the selection's shape; false (nothing saved) with no selection.
  bool Backspace();
  bool DeleteForward();

  // ---- Clipboard text (NameEditorClipboard.cpp) -----------------------------------------------
  // Lines on the clipboard are separated by CR LF.

  /// The text Copy puts on the clipboard: the whole lines of a column caret, or each line's part
  /// inside the block (a character of two units whole when the block holds either), joined by
  /// CR LF; empty with no selection.
  ///
  ///   columns 0..3 over "ab", "abcdef", "x" give "ab\r\nabc\r\nx".
  std::u16string SelectedText() const;
  /// Copy needs a selection that is not a plain caret; Cut needs one with width.
  bool CanCopy() const { return !selection_.IsEmpty(); }
  bool CanCut() const { return selection_.HasWidth(); }
  /// Removes the selected block, after an undo snapshot; false with no selection.
  bool CutSelection();
  /// Pastes clipboard text: a block is replaced; a column caret takes the pieces between CR LFs
  /// line by line, starting again from the first when they run out; a plain caret takes only the
  /// first piece. Control characters other than the CR LF separators are dropped. False, with
  /// nothing saved, when no text is left.
  bool PasteText(std::u16string_view text);
  /// How many pieces of pasted text a paste now uses: one per line of a column caret or block
  /// over several lines, else one (PastedText keeps no more).
  std::size_t PastedPiecesUsed() const;
  /// Pastes the pieces of pasted text (PastedText::Finish) as PasteText does.
  bool PastePieces(const std::vector<std::u16string>& pieces);

  // ---- Scrolling and geometry (NameEditorScrolling.cpp) ---------------------------------------
  const ViewMetrics& Metrics() const { return metrics_; }
  /// New geometry.
  void SetMetrics(const ViewMetrics& metrics);
  std::int32_t CharWidth() const { return metrics_.charWidth; }
  std::int32_t TopLine() const { return topLine_; }
  std::int32_t LeftColumn() const { return leftColumn_; }
  void SetTopLine(std::int32_t line) { topLine_ = line < 0 ? 0 : line; }
  void SetLeftColumn(std::int32_t column) { leftColumn_ = column < 0 ? 0 : column; }

  /// Rows that fit below `textTop`; 0 without a line height.
  std::int32_t VisibleLineCount() const;
  /// Columns that fit right of the divider and margin; 0 without a character width.
  std::int32_t VisibleColumnCount() const;
  /// Scrolls the fewest lines that bring `line` into view; true when the top line changed.
  bool ScrollLineIntoView(std::int32_t line);
  /// The same for a caret column (a caret at the right edge is still visible).
  bool ScrollColumnIntoView(std::int32_t column);
  /// A scroll bar's request: lines and pages, the thumb at `thumb`; the top line stays within
  /// [0, count − visible lines]. The vertical bar ignores First and Last; the horizontal one goes
  /// to column 0 or to the longest line's last screenful. True when the position changed.
  bool ScrollVertically(ScrollRequest request, std::int32_t thumb = 0);
  bool ScrollHorizontally(ScrollRequest request, std::int32_t thumb = 0);
  ScrollBarValues VerticalScrollBar() const;
  ScrollBarValues HorizontalScrollBar() const;

  // ---- Undo and redo (NameEditorUndo.cpp) -----------------------------------------------------
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  const UndoHistory& History() const { return history_; }
  /// Saves the state before a change: at most 100 steps are kept, and the redo steps are dropped.
  void PushUndo();
  /// Puts back the state before the last change (or after the last undone one). False when there
  /// is none; otherwise the caller runs the conflict check.
  bool Undo();
  bool Redo();
  /// From the first edit after BeginUndoGroup to EndUndoGroup, edits are undone as one step; an
  /// undo or redo in between makes the next edit a step of its own again.
  void BeginUndoGroup() { history_.OpenGroup(); }
  void EndUndoGroup() { history_.CloseGroup(); }

 private:
  void ForgetLongestLine() {
    if (longestLineValid_.load(std::memory_order_relaxed)) longestLineValid_.store(false, std::memory_order_relaxed);
  }
  /// The largest cell count of the lines from..to, both in the list, counted line by line.
  std::int32_t MeasureWidestLine(std::int32_t from, std::int32_t to) const;
  /// Keeps AnyNameChanged() current after `line` got a new newName.
  void NoteNewName(std::size_t line);
  /// Clears every mark, then marks columns [from, to) of the lines first..last that have them.
  void MarkRectangle(std::int32_t first, std::int32_t last, std::int32_t from, std::int32_t to);
  void Restore(const UndoSnapshot& snapshot);
  UndoHistory::State CurrentState() const;
  bool TypeIntoCaret(char16_t ch);
  /// Runs `edit` on each line first..last (lines outside the list skipped) and saves each chunk
  /// of lines for the undo history as the edit leaves it.
  template <typename Edit>
  void EditLines(std::int32_t first, std::int32_t last, Edit edit);
  /// Backspace (`beforeCaret`) or Delete, by the selection's shape.
  bool DeleteAtCaret(bool beforeCaret);
  bool OverTypeBlock(char16_t ch);
  std::int32_t LineLength(std::int32_t line) const;
  bool IsLine(std::int32_t line) const { return line >= 0 && static_cast<std::size_t>(line) < names_.size(); }

  NameList names_;
  std::vector<NameKey> keys_;
  EditScope editScope_ = EditScope::WholeName;
  bool nameChecked_ = true;
  bool extensionChecked_ = true;
  std::u16string currentFolder_;
  std::uint64_t listGeneration_ = 0;
  std::size_t folderFileCount_ = 0;
  UnlistedEntries unlisted_;

  BlockSelection selection_;
  TextPos caret_;
  TextPos dragAnchor_;
  ViewMetrics metrics_;
  std::int32_t topLine_ = 0;
  std::int32_t leftColumn_ = 0;
  mutable std::int32_t longestLine_ = 0;
  // Atomic: lines are edited on two threads at once (ParallelRanges).
  mutable std::atomic<bool> longestLineValid_ = false;
  /// AnyNameChanged(): the answer, and whether it is known without looking at every line.
  mutable std::atomic<bool> anyNameChanged_ = false;
  mutable std::atomic<bool> anyNameChangedKnown_ = true;
  std::atomic<bool> namesTouched_ = false;
  std::atomic<bool> keysChanged_ = false;
  /// Line edits refused since TakeRefusedLines; lines edited side by side may count at once.
  std::atomic<std::size_t> refusedLines_ = 0;
  /// The marked cells: columns [from, to) of the lines first..last, cut to each line's length.
  struct MarkedRectangle {
    std::int32_t first = 0;
    std::int32_t last = -1;
    std::int32_t from = 0;
    std::int32_t to = 0;
  };
  MarkedRectangle marked_;

  UndoHistory history_;
};

/// What the user is told when edits of `count` lines were refused for their length:
/// "2 line(s) would have grown beyond 4096 characters and were left as they were."
std::u16string RefusedLinesMessage(std::size_t count);

}  // namespace nomvarix
