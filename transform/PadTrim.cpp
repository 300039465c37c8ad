#include "transform/PadTrim.h"

#include <algorithm>
#include <string>

#include "editor/NameEditor.h"

namespace nomvarix {
namespace {

std::size_t WidestText(const NameEditor& editor, std::int32_t first, std::int32_t last) {
  std::size_t widest = 0;
  for (std::int32_t line = first; line <= last; ++line) {
    widest = std::max(widest, editor.Names()[static_cast<std::size_t>(line)].lineText.size());
  }
  return widest;
}

/// Returns how many lines were shorter than `width`.
std::size_t PadLines(NameEditor& editor, std::int32_t first, std::int32_t last, std::size_t width) {
  std::size_t padded = 0;
  for (std::int32_t line = first; line <= last; ++line) {
    const auto index = static_cast<std::size_t>(line);
    const std::u16string& text = editor.Names()[index].lineText;
    if (text.size() < width) ++padded;
    editor.SetLineText(index, std::u16string(width - text.size(), u' ') + text);
  }
  const auto column = static_cast<std::int32_t>(width);
  editor.SetSelection({first, last, column, column}, {last, column});
  return padded;
}

void TrimLines(NameEditor& editor, std::int32_t first, std::int32_t last) {
  for (std::int32_t line = first; line <= last; ++line) {
    const auto index = static_cast<std::size_t>(line);
    const std::u16string& text = editor.Names()[index].lineText;
    const std::size_t start = std::min(text.find_first_not_of(u' '), text.size());
    editor.SetLineText(index, text.substr(start));
  }
  editor.SetSelection({first, last, 0, 0}, {last, 0});
}

std::int32_t LastLine(const NameEditor& editor) { return static_cast<std::int32_t>(editor.LineCount()) - 1; }

/// The selection's lines that exist, in order; first > last when there are none.
std::pair<std::int32_t, std::int32_t> SelectedLines(const NameEditor& editor) {
  const BlockSelection& s = editor.Selection();
  return {std::max(std::min(s.startLine, s.endLine), 0), std::min(std::max(s.startLine, s.endLine), LastLine(editor))};
}

}  // namespace

std::size_t RightAlignAll(NameEditor& editor) {
  editor.PushUndo();
  if (editor.LineCount() < 2) return 0;
  const std::size_t width = WidestText(editor, 0, LastLine(editor));
  if (width == 0) return 0;
  const std::size_t padded = PadLines(editor, 0, LastLine(editor), width);
  editor.SetLeftColumn(editor.LongestLineLength() - editor.VisibleColumnCount());
  return padded;
}

std::optional<std::size_t> RightAlignSelection(NameEditor& editor) {
  const BlockSelection& s = editor.Selection();
  if (s.startLine == s.endLine) return std::nullopt;
  editor.PushUndo();
  const auto [first, last] = SelectedLines(editor);
  const std::size_t width = WidestText(editor, first, last);
  return width > 0 ? PadLines(editor, first, last, width) : 0;
}

void TrimLeftSelection(NameEditor& editor) {
  editor.PushUndo();
  const auto [first, last] = SelectedLines(editor);
  if (first <= last) TrimLines(editor, first, last);
}

void TrimLeftAll(NameEditor& editor) {
  editor.PushUndo();
  if (editor.LineCount() > 0) TrimLines(editor, 0, LastLine(editor));
  editor.SetLeftColumn(0);
}

}  // namespace nomvarix
