#include "session/EditorMouse.h"

#include <algorithm>
#include <cstdlib>

#include "editor/WordSeparators.h"
#include "session/EditorSession.h"

namespace nomvarix {
namespace {

constexpr std::int32_t kDividerMargin = 100;  // the divider stays this far from either edge

BlockSelection Spanning(TextPos a, TextPos b) {
  return {std::min(a.line, b.line), std::max(a.line, b.line), std::min(a.column, b.column),
          std::max(a.column, b.column)};
}

}  // namespace

NameEditor& EditorMouse::Editor() { return session_.Editor(); }
const NameEditor& EditorMouse::Editor() const { return session_.Editor(); }

std::int32_t EditorMouse::LastLine() const { return static_cast<std::int32_t>(Editor().LineCount()) - 1; }

std::int32_t EditorMouse::LineAt(std::int32_t y) const {
  const ViewMetrics& m = Editor().Metrics();
  if (y < m.textTop) return 0;
  return std::clamp(Editor().TopLine() + (y - m.textTop) / std::max(m.lineHeight, 1), 0, LastLine());
}

std::int32_t EditorMouse::RulerColumnAt(std::int32_t x) const {
  const ViewMetrics& m = Editor().Metrics();
  const std::int32_t offset = std::max(0, x - m.dividerX - m.textMargin);
  return std::max(Editor().MinColumn(), Editor().LeftColumn() + offset / std::max(m.charWidth, 1));
}

void EditorMouse::SelectLines(std::int32_t first, std::int32_t last) {
  const std::int32_t top = std::min(first, last);
  const std::int32_t bottom = std::max(first, last);
  Editor().SetSelection({top, bottom, 0, Editor().WidestLineInRange(top, bottom)}, {bottom, 0});
}

void EditorMouse::SelectColumnsOnAllLines(std::int32_t from, std::int32_t to, std::int32_t caretColumn) {
  Editor().SetSelection({0, LastLine(), std::min(from, to), std::max(from, to)}, {LastLine(), caretColumn});
}

void EditorMouse::SearchFromSelection() {
  const BlockSelection& selection = Editor().Selection();
  session_.Search().findStart = {selection.startLine, selection.startColumn};
}

MouseResponse EditorMouse::Press(std::int32_t x, std::int32_t y, bool shift) {
  const ViewMetrics& m = Editor().Metrics();
  if (std::abs(x - m.dividerX) <= geometry_.dividerGrip / 2) {
    state_.dividerDragActive = true;
    return {.capture = true};
  }
  const bool inRuler = y > geometry_.stripBandHeight && y < m.textTop;
  if (inRuler && x >= m.dividerX - geometry_.markerColumnWidth && x < m.dividerX) {
    session_.ResetAllNames();
    return {.repaint = true};
  }
  if (x < m.dividerX && y >= m.textTop && Editor().LineCount() > 0) return PressInDiskNames(x, y, shift);
  if (inRuler && x > m.dividerX) return PressInRuler(x);
  return PressInText(x, y, shift);
}

MouseResponse EditorMouse::PressInDiskNames(std::int32_t x, std::int32_t y, bool shift) {
  const ViewMetrics& m = Editor().Metrics();
  const std::int32_t row = Editor().TopLine() + (y - m.textTop) / std::max(m.lineHeight, 1);
  const std::int32_t line = std::clamp(row, 0, LastLine());
  const std::int32_t markerRight = m.dividerX - geometry_.rowMarkerInset;
  if (row == line && x >= markerRight - geometry_.markerColumnWidth && x <= markerRight) {
    session_.ResetName(line);
    return {.repaint = true};
  }
  state_.lineDragActive = true;
  if (!shift || Editor().Selection().IsNone() || lineDragAnchor_ < 0) lineDragAnchor_ = line;
  SelectLines(lineDragAnchor_, line);
  SearchFromSelection();
  return {.repaint = true, .capture = true, .caretBlinkOn = true};
}

MouseResponse EditorMouse::PressInRuler(std::int32_t x) {
  const std::int32_t column = RulerColumnAt(x);
  state_.rulerDragActive = true;
  rulerDragStartColumn_ = column;
  SelectColumnsOnAllLines(column, column, column);
  return {.repaint = true, .capture = true, .caretBlinkOn = true, .startBlinking = true};
}

MouseResponse EditorMouse::PressInText(std::int32_t x, std::int32_t y, bool shift) {
  const TextPos at = Editor().PositionFromPoint(x, y);
  if (at.line < 0) return {};
  state_.textDragActive = true;
  NameEditor& editor = Editor();
  if (shift && !editor.Selection().IsNone()) {
    const BlockSelection& old = editor.Selection();
    editor.SetSelection(Spanning({old.startLine, old.startColumn}, at), at);
  } else {
    editor.SetDragAnchor(at);
    editor.SetSelection({at.line, at.line, at.column, at.column}, at);
  }
  SearchFromSelection();
  return {.repaint = true, .capture = true, .caretBlinkOn = true, .startBlinking = true};
}

MouseResponse EditorMouse::Move(std::int32_t x, std::int32_t y, bool leftButtonDown) {
  const ViewMetrics& m = Editor().Metrics();
  if (state_.dividerDragActive) {
    const std::int32_t right = std::max(kDividerMargin, m.clientWidth - kDividerMargin);
    return {.repaint = true, .dividerX = std::clamp(x, kDividerMargin, right)};
  }
  if (state_.rulerDragActive) {
    if (x <= m.dividerX) return {};
    const std::int32_t column = RulerColumnAt(x);
    if (column == rulerDragStartColumn_) return {};
    SelectColumnsOnAllLines(rulerDragStartColumn_, column, column);
    return {.repaint = true};
  }
  if (state_.lineDragActive && leftButtonDown) {
    DragLines(y);
    return {.repaint = true};
  }
  if (state_.textDragActive) {
    DragText(x, y);
    return {.repaint = true};
  }
  const bool hover = std::abs(x - m.dividerX) <= geometry_.dividerGrip / 2 && y >= geometry_.stripBandHeight;
  if (hover == state_.dividerHover) return {};
  state_.dividerHover = hover;
  return {.repaint = true};
}

void EditorMouse::DragLines(std::int32_t y) {
  NameEditor& editor = Editor();
  const ViewMetrics& m = editor.Metrics();
  const std::int32_t visible = editor.VisibleLineCount();
  std::int32_t target = LineAt(y);
  if (y < m.textTop && editor.TopLine() > 0) {
    editor.SetTopLine(editor.TopLine() - 1);
    target = editor.TopLine();
  } else if (y >= m.textTop + visible * m.lineHeight && editor.TopLine() + visible <= LastLine()) {
    editor.SetTopLine(editor.TopLine() + 1);
    target = std::min(editor.TopLine() + visible - 1, LastLine());
  }
  SelectLines(lineDragAnchor_, target);
}

void EditorMouse::AutoScroll(std::int32_t x, std::int32_t y) {
  NameEditor& editor = Editor();
  const ViewMetrics& m = editor.Metrics();
  if (y < m.textTop && editor.TopLine() > 0) {
    editor.SetTopLine(editor.TopLine() - 1);
  } else if (y > m.clientHeight && editor.TopLine() + editor.VisibleLineCount() < LastLine() + 1) {
    editor.SetTopLine(editor.TopLine() + 1);
  }
  if (x <= m.dividerX + m.textMargin && editor.LeftColumn() > 0) {
    editor.SetLeftColumn(editor.LeftColumn() - 1);
  } else if (x >= m.clientWidth && editor.LeftColumn() + editor.VisibleColumnCount() < editor.LongestLineLength()) {
    editor.SetLeftColumn(editor.LeftColumn() + 1);
  }
}

void EditorMouse::DragText(std::int32_t x, std::int32_t y) {
  AutoScroll(x, y);
  NameEditor& editor = Editor();
  const TextPos at = editor.PositionFromPoint(x, y);
  if (at.line < 0 || at.column < 0) return;
  editor.SetSelection(Spanning(editor.DragAnchor(), at), at);
}

MouseResponse EditorMouse::Release(std::int32_t x, std::int32_t y) {
  if (state_.dividerDragActive) {
    state_.dividerDragActive = false;
    return {.repaint = true};
  }
  if (state_.lineDragActive) {
    state_.lineDragActive = false;
    return {.repaint = true};
  }
  NameEditor& editor = Editor();
  if (state_.rulerDragActive) {
    state_.rulerDragActive = false;
    if (x > editor.Metrics().dividerX) {
      const std::int32_t column = RulerColumnAt(x);
      SelectColumnsOnAllLines(rulerDragStartColumn_, column, std::min(rulerDragStartColumn_, column));
    }
  } else if (state_.textDragActive) {
    state_.textDragActive = false;
    const TextPos at = editor.PositionFromPoint(x, y);
    if (at.line >= 0 && at.column >= 0) {
      const BlockSelection span = Spanning(editor.DragAnchor(), at);
      editor.SetSelection(span, {at.line, span.startColumn});
    }
  }
  return {.repaint = true};
}

MouseResponse EditorMouse::DoubleClick(std::int32_t x, std::int32_t y) {
  NameEditor& editor = Editor();
  const TextPos at = editor.PositionFromPoint(x, y);
  if (at.line < 0) return {};
  const std::u16string& text = editor.Names()[static_cast<std::size_t>(at.line)].lineText;
  const auto length = static_cast<std::int32_t>(text.size());
  if (at.column >= length) return {};
  std::int32_t start = at.column;
  while (start > 0 && !IsWordSeparator(text[static_cast<std::size_t>(start - 1)])) --start;
  std::int32_t end = at.column;
  while (end < length && !IsWordSeparator(text[static_cast<std::size_t>(end)])) ++end;
  editor.SetSelection({at.line, at.line, start, end}, {at.line, end});
  return {.repaint = true, .caretBlinkOn = true};
}

bool EditorMouse::Wheel(std::int32_t delta) {
  NameEditor& editor = Editor();
  const std::int32_t limit = std::max(0, static_cast<std::int32_t>(editor.LineCount()) - editor.VisibleLineCount());
  const std::int32_t top = std::clamp(editor.TopLine() - (delta / 120) * 3, 0, limit);
  if (top == editor.TopLine()) return false;
  editor.SetTopLine(top);
  return true;
}

void EditorMouse::CancelDrags() {
  state_.textDragActive = state_.lineDragActive = state_.rulerDragActive = state_.dividerDragActive = false;
}

MouseCursor EditorMouse::CursorAt(std::int32_t x, std::int32_t y) const {
  if (state_.dividerHover || state_.dividerDragActive) return MouseCursor::Resize;
  const ViewMetrics& m = Editor().Metrics();
  if (y > m.textTop && x > m.dividerX) return MouseCursor::Beam;
  return MouseCursor::Arrow;
}

}  // namespace nomvarix
