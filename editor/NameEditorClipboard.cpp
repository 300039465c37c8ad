// The text that goes to and comes from the clipboard.
#include <algorithm>
#include <vector>

#include "editor/NameEditor.h"
#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr std::u16string_view kLineSeparator = u"\r\n";

/// The pieces between separators; a separator at the very end makes no last empty piece.
std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
  std::vector<std::u16string_view> pieces;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find(kLineSeparator, start);
    if (end == std::u16string_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end + kLineSeparator.size();
  }
  if (pieces.empty()) pieces.emplace_back();
  return pieces;
}

/// `text` without its control characters (TAB, ESC, a lone CR or LF...), but for the CR LF pairs
/// that separate its lines: nothing that draws as a blank cell or breaks a row reaches a name.
std::u16string WithoutControlCharacters(std::u16string_view text) {
  std::u16string kept;
  kept.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, kLineSeparator.size()) == kLineSeparator) {
      kept += kLineSeparator;
      i += kLineSeparator.size() - 1;
    } else if (!IsControlCharacter(text[i])) {
      kept += text[i];
    }
  }
  return kept;
}

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

bool NameEditor::PasteText(std::u16string_view text) {
  const std::u16string mended = WithoutLoneHighSurrogates(WithoutControlCharacters(text));
  if (mended.empty()) return false;
  PushUndo();
  DeleteSelection();
  const std::vector<std::u16string_view> pieces = SplitLines(mended);
  const BlockSelection at = selection_;
  if (at.IsMultiLine()) {
    std::size_t widest = 0;
    for (std::int32_t line = at.startLine; line <= at.endLine; ++line) {
      const std::u16string_view piece = pieces[static_cast<std::size_t>(line - at.startLine) % pieces.size()];
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
