// Caret movement by the keys, for each shape of the rectangular selection.
#include "editor/CaretMovement.h"

#include <algorithm>
#include <utility>

#include "editor/NameEditor.h"
#include "editor/WordSeparators.h"

namespace nomvarix {
namespace {

enum class Shape { None, InsertionPoint, ColumnCaret, LineSelection, Block };

Shape ShapeOf(const BlockSelection& s) {
  if (s.IsNone()) return Shape::None;
  if (!s.HasWidth()) return s.IsMultiLine() ? Shape::ColumnCaret : Shape::InsertionPoint;
  return s.IsMultiLine() ? Shape::Block : Shape::LineSelection;
}

/// The rectangle and caret a movement works on, applied to the editor at the end.
struct Move {
  BlockSelection s;
  TextPos caret;
  Shape shape;
  std::int32_t lastLine;

  bool CaretAtBottom() const { return caret.line == s.endLine; }
  bool CaretAtRight() const { return caret.column == s.endColumn; }

  void SetColumns(std::int32_t from, std::int32_t to) {
    s.startColumn = std::min(from, to);
    s.endColumn = std::max(from, to);
  }
  void SetLines(std::int32_t from, std::int32_t to) {
    s.startLine = std::min(from, to);
    s.endLine = std::max(from, to);
  }
  void InsertionPointAt(std::int32_t line, std::int32_t column) {
    s = {line, line, column, column};
    caret = {line, column};
  }
  /// Moves the bottom or the top edge to `line`, re-ordering the edges when they cross; the caret
  /// stays on the moved edge.
  void MoveEdgeLine(bool bottom, std::int32_t line) {
    const std::int32_t fixed = bottom ? s.startLine : s.endLine;
    SetLines(fixed, line);
    caret.line = line;
  }
};

std::u16string_view LineText(const NameEditor& editor, std::int32_t line) {
  if (line < 0 || static_cast<std::size_t>(line) >= editor.LineCount()) return {};
  return editor.Names()[static_cast<std::size_t>(line)].lineText;
}

std::int32_t ClampWordColumn(const NameEditor& editor, std::int32_t line, std::int32_t column) {
  const auto length = static_cast<std::int32_t>(LineText(editor, line).size());
  return std::clamp(column, std::min(editor.MinColumn(), length), length);
}

/// The column the Left or Right key moves from: with Shift the edge on the caret's side, otherwise
/// the edge a selection collapses to (the caret's own column when it has no width).
std::int32_t MovingColumn(const Move& m, bool right, bool shift) {
  if (shift) return m.CaretAtRight() ? m.s.endColumn : m.s.startColumn;
  return right ? m.s.endColumn : m.s.startColumn;
}

/// Ctrl+Left: the start of the word before `from` on the top line; Ctrl+Right: the end of the word
/// after it on the bottom line. Never turns back against the key, as clamping could from beyond a
/// short line's end or from left of the extension's first column.
std::int32_t WordJump(const NameEditor& editor, const Move& m, bool right, std::int32_t from) {
  const std::int32_t line = right ? m.s.endLine : m.s.startLine;
  const std::u16string_view text = LineText(editor, line);
  const std::int32_t to = ClampWordColumn(editor, line, right ? WordEndAfter(text, from) : WordStartBefore(text, from));
  return right ? std::max(to, from) : std::min(to, from);
}

/// Left and Right on every shape: Ctrl only changes the column the key goes to.
void MoveHorizontally(const NameEditor& editor, Move& m, bool right, bool shift, bool ctrl) {
  const bool hasWidth = m.s.HasWidth();
  const std::int32_t from = MovingColumn(m, right, shift);
  std::int32_t to = right ? from + 1 : std::max(from - 1, 0);
  if (ctrl) {
    to = WordJump(editor, m, right, from);
  } else if (!shift && hasWidth) {
    to = from;  // a selection collapses to its edge
  }
  if (shift) {
    m.SetColumns(m.CaretAtRight() ? m.s.startColumn : m.s.endColumn, to);  // the other edge stays
  } else {
    m.s.startColumn = m.s.endColumn = to;
  }
  m.caret.column = to;
  if (hasWidth) m.caret.line = m.s.endLine;
}

/// Up and PageUp (`down` false), Down and PageDown; `page` is the number of lines of a page.
/// Returns false when the key does nothing here.
bool MoveVertically(Move& m, bool down, std::int32_t step, bool page, bool shift) {
  const std::int32_t target =
      down ? std::min(m.lastLine, m.s.startLine + step) : std::max(0, m.s.startLine - step);
  const auto stepped = [&](std::int32_t line) {
    return down ? std::min(m.lastLine, line + step) : std::max(0, line - step);
  };
  switch (m.shape) {
    case Shape::InsertionPoint: {
      const std::int32_t line = m.s.startLine;
      if (!page && (down ? line >= m.lastLine : line <= 0)) return false;
      const std::int32_t to = page ? target : stepped(line);
      if (shift) {
        m.SetLines(line, to);
      } else {
        m.s.startLine = m.s.endLine = to;
      }
      m.caret.line = to;
      return true;
    }
    case Shape::ColumnCaret:
      if (shift) {
        const bool bottom = m.CaretAtBottom();
        m.MoveEdgeLine(bottom, stepped(bottom ? m.s.endLine : m.s.startLine));
      } else {
        m.s.startLine = stepped(m.s.startLine);
        m.s.endLine = stepped(m.s.endLine);
        m.caret.line = m.s.endLine;
      }
      return true;
    case Shape::LineSelection: {
      const std::int32_t line = m.s.startLine;
      if (!shift) {
        if (page) {
          m.InsertionPointAt(target, m.s.startColumn);
        } else {
          m.InsertionPointAt(line, m.caret.column);
        }
        return true;
      }
      const std::int32_t to = page ? target : stepped(line);
      m.SetLines(line, to);
      // Shift+PageUp leaves the caret on the bottom line; every other extension puts it on the new line.
      m.caret.line = (page && !down) ? m.s.endLine : to;
      return true;
    }
    case Shape::Block:
      if (!shift) {
        if (page) {
          m.InsertionPointAt(target, m.s.startColumn);
        } else if (down) {
          m.InsertionPointAt(m.s.startLine, m.CaretAtRight() ? m.s.startColumn : m.s.endColumn);
        } else {
          m.InsertionPointAt(m.s.startLine, m.CaretAtRight() ? m.s.endColumn : m.s.startColumn);
        }
      } else {
        const bool bottom = m.CaretAtBottom();
        m.MoveEdgeLine(bottom, stepped(bottom ? m.s.endLine : m.s.startLine));
      }
      return true;
    case Shape::None:
      return false;
  }
  return false;
}

void MoveHome(Move& m, bool shift) {
  const std::int32_t oldEnd = m.s.endColumn;
  m.s.startColumn = 0;
  m.s.endColumn = shift ? oldEnd : 0;
  m.caret = {m.s.endLine, shift ? oldEnd : 0};
}

std::int32_t MoveEnd(const NameEditor& editor, Move& m, bool shift) {
  const std::int32_t widest = editor.WidestLineInRange(m.s.startLine, m.s.endLine);
  const std::int32_t oldEnd = m.s.endColumn;
  if (shift) {
    m.SetColumns(widest, oldEnd);
    m.caret = {m.s.endLine, oldEnd};
  } else {
    m.s.startColumn = m.s.endColumn = widest;
    m.caret = {m.s.endLine, widest};
  }
  return widest;
}

/// With lines but no caret, the keys that make one put it on the first line (PageDown: the last
/// line of the first page). False for the keys that do nothing then.
bool CaretFromNothing(Move& m, CaretKey key, std::int32_t page) {
  switch (key) {
    case CaretKey::Left:
    case CaretKey::Right:
    case CaretKey::Down:
    case CaretKey::PageUp:
      m.InsertionPointAt(0, 0);
      return true;
    case CaretKey::PageDown:
      m.InsertionPointAt(std::clamp(page - 1, 0, m.lastLine), 0);
      return true;
    default:
      return false;
  }
}

/// Scrolls after a movement so the edge it moved shows. Returns whether anything scrolled.
bool ScrollAfter(NameEditor& editor, CaretKey key, std::int32_t pageTarget, std::int32_t endColumn) {
  const BlockSelection s = editor.Selection();
  const TextPos caret = editor.Caret();
  const std::int32_t oldTop = editor.TopLine();
  const std::int32_t oldLeft = editor.LeftColumn();
  switch (key) {
    case CaretKey::PageUp:
      editor.SetTopLine(pageTarget - 1);
      [[fallthrough]];
    case CaretKey::Up:
      if (s.startLine < editor.TopLine()) editor.SetTopLine(s.startLine);
      editor.ScrollLineIntoView(s.startLine);
      break;
    case CaretKey::Down:
    case CaretKey::PageDown: {
      const std::int32_t visible = editor.VisibleLineCount();
      if (s.endLine >= editor.TopLine() + visible - 1) editor.SetTopLine(s.endLine - visible + 1);
      editor.ScrollLineIntoView(s.endLine);
      break;
    }
    case CaretKey::Left:
      if (caret.column < editor.LeftColumn()) editor.SetLeftColumn(caret.column);
      editor.ScrollColumnIntoView(caret.column);
      break;
    case CaretKey::Right: {
      const std::int32_t visible = editor.VisibleColumnCount();
      if (caret.column >= editor.LeftColumn() + visible) editor.SetLeftColumn(caret.column - visible);
      editor.ScrollColumnIntoView(caret.column);
      break;
    }
    case CaretKey::Home:
      editor.SetLeftColumn(0);
      break;
    case CaretKey::End:
      editor.ScrollColumnIntoView(endColumn);
      break;
  }
  return editor.TopLine() != oldTop || editor.LeftColumn() != oldLeft;
}

}  // namespace

bool MoveCaret(NameEditor& editor, CaretKey key, bool shift, bool ctrl) {
  if (editor.LineCount() == 0) return false;
  Move m{editor.Selection(), editor.Caret(), ShapeOf(editor.Selection()),
         static_cast<std::int32_t>(editor.LineCount()) - 1};
  const std::int32_t page = editor.VisibleLineCount();
  const std::int32_t step = (key == CaretKey::PageUp || key == CaretKey::PageDown) ? page : 1;
  const std::int32_t pageTarget = std::max(0, m.s.startLine - page);
  std::int32_t endColumn = 0;
  bool moved = true;
  if (m.shape == Shape::None) {
    moved = CaretFromNothing(m, key, page);
  } else {
    switch (key) {
      case CaretKey::Left:
      case CaretKey::Right:
        MoveHorizontally(editor, m, key == CaretKey::Right, shift, ctrl);
        break;
      case CaretKey::Up:
      case CaretKey::Down:
      case CaretKey::PageUp:
      case CaretKey::PageDown:
        moved = MoveVertically(m, key == CaretKey::Down || key == CaretKey::PageDown, step,
                               key == CaretKey::PageUp || key == CaretKey::PageDown, shift);
        break;
      case CaretKey::Home:
        MoveHome(m, shift);
        break;
      case CaretKey::End:
        endColumn = MoveEnd(editor, m, shift);
        break;
    }
  }
  if (!moved) return false;
  editor.SetSelection(m.s, m.caret);
  return ScrollAfter(editor, key, pageTarget, endColumn);
}

bool JumpToOppositeCorner(NameEditor& editor) {
  const BlockSelection& s = editor.Selection();
  if (s.IsNone() || s.IsEmpty()) return false;
  const TextPos caret = editor.Caret();
  const TextPos opposite{caret.line == s.endLine ? s.startLine : s.endLine,
                         caret.column == s.endColumn ? s.startColumn : s.endColumn};
  editor.SetSelection(s, opposite);
  return true;
}

}  // namespace nomvarix
