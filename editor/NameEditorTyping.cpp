// Typing, inserting and deleting through the selection.
#include <algorithm>

#include "editor/NameEditor.h"

namespace nomvarix {
namespace {

/// Characters that no file name may contain, refused as typed.
bool IsRefusedCharacter(char16_t ch) {
  return std::u16string_view(u"|\"*/:<>?\\").find(ch) != std::u16string_view::npos;
}

}  // namespace

void NameEditor::InsertChar(std::int32_t line, std::int32_t column, char16_t ch) {
  InsertText(line, column, std::u16string_view(&ch, 1));
}

void NameEditor::InsertText(std::int32_t line, std::int32_t column, std::u16string_view text) {
  if (!IsLine(line)) return;
  const auto index = static_cast<std::size_t>(line);
  std::u16string& lineText = names_[index].lineText;
  if (column < 0 || static_cast<std::size_t>(column) > lineText.size()) return;
  // Inserted by iterators: GCC 12 warns falsely (-Wrestrict) about insert(position, view).
  const auto at = lineText.begin() + column;
  lineText.insert(at, text.begin(), text.end());
  CommitLineText(index);
  LayoutLine(index);
}

void NameEditor::DeleteSelectedCells(std::int32_t line) {
  if (!IsLine(line)) return;
  const auto index = static_cast<std::size_t>(line);
  NameEntry& entry = names_[index];
  // A line without selected cells keeps its text; skipping it spares the relayout.
  if (std::none_of(entry.cells.begin(), entry.cells.end(), [](const GlyphCell& c) { return c.selected; })) return;
  std::u16string kept;
  for (const GlyphCell& cell : entry.cells) {
    if (!cell.selected) kept.push_back(cell.ch);
  }
  entry.lineText = std::move(kept);
  CommitLineText(index);
  LayoutLine(index);
}

void NameEditor::DeleteSelectedCellsKeepNonEmpty(std::int32_t line) {
  if (!IsLine(line)) return;
  const auto& cells = names_[static_cast<std::size_t>(line)].cells;
  if (std::all_of(cells.begin(), cells.end(), [](const GlyphCell& c) { return c.selected; })) return;
  DeleteSelectedCells(line);
}

void NameEditor::DeleteSelection() {
  if (selection_.IsNone()) return;
  if (anyCellMarked_) {
    for (std::int32_t line = selection_.startLine; line <= selection_.endLine; ++line) DeleteSelectedCells(line);
  }
  selection_.endColumn = selection_.startColumn;
  caret_ = {selection_.endLine, selection_.startColumn};
  ClampSelection();
}

namespace {

/// Removes the character at `column` of one line, if there is one; returns whether it did.
bool EraseAt(NameList& names, std::int32_t line, std::int32_t column) {
  std::u16string& text = names[static_cast<std::size_t>(line)].lineText;
  if (column < 0 || static_cast<std::size_t>(column) >= text.size()) return false;
  text.erase(static_cast<std::size_t>(column), 1);
  return true;
}

}  // namespace

bool NameEditor::TypeChar(char16_t ch) {
  if (ch < 32 || IsRefusedCharacter(ch) || (editScope_ == EditScope::BaseName && ch == u'.')) return false;
  PushUndo();
  if (selection_.HasWidth()) return OverTypeBlock(ch);
  return TypeIntoCaret(ch);
}

bool NameEditor::TypeIntoCaret(char16_t ch) {
  DeleteSelection();  // collapses, as nothing has width
  const BlockSelection at = selection_;
  const std::int32_t column = at.startColumn + 1;
  if (!at.IsMultiLine()) {
    InsertChar(at.startLine, at.startColumn, ch);
    selection_ = {at.startLine, at.startLine, column, column};
    caret_ = {at.startLine, column};
    ClampSelection();
    ScrollColumnIntoView(caret_.column);
    return true;
  }
  for (std::int32_t line = at.startLine; line <= at.endLine; ++line) InsertChar(line, at.startColumn, ch);
  selection_ = {at.startLine, at.endLine, column, column};
  caret_ = {at.endLine, column};
  ClampSelection();
  return true;
}

bool NameEditor::OverTypeBlock(char16_t ch) {
  const BlockSelection at = selection_;
  for (std::int32_t line = at.startLine; line <= at.endLine; ++line) {
    if (!IsLine(line)) continue;
    const auto index = static_cast<std::size_t>(line);
    std::u16string& text = names_[index].lineText;
    if (static_cast<std::size_t>(at.startColumn) >= text.size()) continue;
    text[static_cast<std::size_t>(at.startColumn)] = ch;
    CommitLineText(index);
    LayoutLine(index);
  }
  selection_.startColumn = std::min(at.startColumn + 1, at.endColumn);
  caret_ = {at.endLine, selection_.startColumn};
  ClampSelection();
  MarkSelectionCells();
  return true;
}

bool NameEditor::Backspace() { return DeleteAtCaret(true); }

bool NameEditor::DeleteForward() { return DeleteAtCaret(false); }

bool NameEditor::DeleteAtCaret(bool beforeCaret) {
  if (selection_.IsNone()) return false;
  PushUndo();
  if (selection_.HasWidth()) {
    DeleteSelection();
    return true;
  }
  const std::int32_t column = selection_.startColumn;
  if (beforeCaret && column <= MinColumn()) {
    ClampSelection();
    return true;
  }
  // Lines too short to have the character are left alone.
  const std::int32_t erased = beforeCaret ? column - 1 : column;
  for (std::int32_t line = selection_.startLine; line <= selection_.endLine; ++line) {
    if (IsLine(line) && EraseAt(names_, line, erased)) {
      CommitLineText(static_cast<std::size_t>(line));
      LayoutLine(static_cast<std::size_t>(line));
    }
  }
  selection_.startColumn = selection_.endColumn = erased;
  caret_ = {selection_.endLine, erased};
  ClampSelection();
  return true;
}

}  // namespace nomvarix
