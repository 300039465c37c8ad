// The text that goes to and comes from the clipboard.
#include <algorithm>
#include <vector>

#include "editor/NameEditor.h"
#include "editor/PastedText.h"
#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr std::u16string_view kLineSeparator = u"\r\n";

}  // namespace

std::u16string NameEditor::SelectedText() const {
  std::u16string text;
  if (selection_.IsNone()) return text;
  for (std::int32_t line = selection_.startLine; line <= selection_.endLine; ++line) {
    if (line > selection_.startLine) text += kLineSeparator;
    if (!IsLine(line)) continue;
    const std::u16string_view lineText = names_[static_cast<std::size_t>(line)].lineText;
    if (!selection_.HasWidth()) {
      text += lineText;
    } else if (static_cast<std::size_t>(selection_.startColumn) < lineText.size()) {
      // A pair half inside the block takes its other half along, as deleting the block does.
      std::size_t from = static_cast<std::size_t>(selection_.startColumn);
      std::size_t to = std::min(static_cast<std::size_t>(selection_.endColumn), lineText.size());
      if (SplitsSurrogatePair(lineText, from)) --from;
      if (SplitsSurrogatePair(lineText, to)) ++to;
      text += lineText.substr(from, to - from);
    }
  }
  return text;
}

bool NameEditor::CutSelection() {
  if (selection_.IsNone()) return false;
  PushUndo();
  DeleteSelection();
  MarkSelectionCells();
  return true;
}

std::size_t NameEditor::PastedPiecesUsed() const {
  return selection_.IsMultiLine() ? static_cast<std::size_t>(selection_.endLine - selection_.startLine) + 1 : 1;
}

bool NameEditor::PasteText(std::u16string_view text) {
  PastedText pasted(PastedPiecesUsed(), kMaxLineLength);
  pasted.Append(text);
  return PastePieces(pasted.Finish());
}

bool NameEditor::PastePieces(const std::vector<std::u16string>& pieces) {
  if (pieces.empty()) return false;
  PushUndo();
  DeleteSelection();
  const BlockSelection at = selection_;
  if (at.IsMultiLine()) {
    std::size_t widest = 0;
    for (std::int32_t line = at.startLine; line <= at.endLine; ++line) {
      const std::u16string& piece = pieces[static_cast<std::size_t>(line - at.startLine) % pieces.size()];
      if (piece.empty()) continue;
      InsertText(line, at.startColumn, piece);
      widest = std::max(widest, piece.size());
    }
    const std::int32_t column = at.startColumn + static_cast<std::int32_t>(widest);
    selection_.startColumn = selection_.endColumn = column;
    caret_ = {at.endLine, column};
  } else if (!pieces.front().empty()) {
    InsertText(at.startLine, at.startColumn, pieces.front());
    const std::int32_t column = at.startColumn + static_cast<std::int32_t>(pieces.front().size());
    selection_ = {at.startLine, at.startLine, column, column};
    caret_ = {at.startLine, column};
  }
  ClampSelection();
  MarkSelectionCells();
  ForgetLongestLine();
  return true;
}

}  // namespace nomvarix
