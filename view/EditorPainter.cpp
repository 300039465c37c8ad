#include "view/EditorPainter.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include <wx/dc.h>

#include "apply/ConflictCheck.h"
#include "editor/NameEditor.h"
#include "view/CommandStrip.h"
#include "view/GlyphWidths.h"
#include "view/NameWidthBounds.h"
#include "view/Palette.h"
#include "view/ViewGeometry.h"
#include "controls/WxText.h"
#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// The header's distance from the left edge, and its least distance from the divider.
constexpr int kHeaderInset = 10;

/// The text one cell shows: a surrogate pair is drawn in the cell of its first half, a lone
/// surrogate (a byte of a name that is no UTF-8) as the replacement character.
wxString CellText(const std::vector<GlyphCell>& cells, std::size_t i) {
  const char16_t c = cells[i].ch;
  if (IsHighSurrogate(c) && i + 1 < cells.size() && IsLowSurrogate(cells[i + 1].ch)) {
    const char16_t pair[2] = {c, cells[i + 1].ch};
    return ToWx(std::u16string_view(pair, 2));
  }
  if (IsLowSurrogate(c) && i > 0 && IsHighSurrogate(cells[i - 1].ch)) return wxString();
  if (IsHighSurrogate(c) || IsLowSurrogate(c)) return wxString(wxUniChar(0xFFFD));
  return wxString(wxUniChar(static_cast<unsigned>(ShownCharacter(c))));
}

/// A name as the name column shows it: each control character as its visible symbol.
wxString ShownName(std::u16string_view name) {
  std::u16string shown(name);
  for (char16_t& c : shown) c = ShownCharacter(c);
  return ToWx(shown);
}

/// One paint pass; the members hold the values every step uses.
class Pass {
 public:
  Pass(wxDC& dc, const PaintInput& input)
      : dc_(dc),
        in_(input),
        editor_(input.editor),
        m_(input.editor.Metrics()),
        g_(input.geometry),
        sel_(input.editor.Selection()),
        textLeft_(m_.dividerX + m_.textMargin),
        visibleRows_(input.editor.VisibleLineCount()) {}

  void Run() {
    dc_.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    StatusCell();
    Ruler();
    HeaderMarker();
    Strips();
    Fill(0, m_.textTop - 1, m_.clientWidth, m_.textTop, palette::BandSeparator());
    ColumnBackgrounds();
    Brackets();
    Divider();
    BlockBackground();
    Rows();
    Caret();
    RecordingFrame();
    LineBadge();
    ColumnBadge();
  }

 private:
  int ColumnX(std::int64_t column) const {
    return static_cast<int>(textLeft_ + (column - editor_.LeftColumn()) * m_.charWidth);
  }
  int RowTop(std::int64_t line) const {
    return static_cast<int>(m_.textTop + (line - editor_.TopLine()) * m_.lineHeight);
  }
  /// x kept inside the text area, from column 0's edge to the client's right edge.
  int ClampToText(int x) const { return std::clamp(x, textLeft_, std::max(textLeft_, m_.clientWidth)); }
  int MarkerLeft() const { return m_.dividerX - g_.markerColumnWidth - g_.Scaled(5); }
  bool HasCaret() const { return sel_.startColumn != -1 || sel_.endColumn != -1; }

  void Fill(int x0, int y0, int x1, int y1, const wxColour& colour) {
    if (x1 <= x0 || y1 <= y0) return;
    dc_.SetPen(*wxTRANSPARENT_PEN);
    dc_.SetBrush(wxBrush(colour));
    dc_.DrawRectangle(x0, y0, x1 - x0, y1 - y0);
  }
  void Line(int x0, int y0, int x1, int y1, const wxColour& colour, int width = 1) {
    dc_.SetPen(wxPen(colour, width));
    dc_.DrawLine(x0, y0, x1, y1);
  }
  void Triangle(const wxPoint (&points)[3], const wxColour& colour) {
    dc_.SetPen(wxPen(colour));
    dc_.SetBrush(wxBrush(colour));
    dc_.DrawPolygon(3, points);
  }
  /// The red right-pointing triangle that marks a changed name, centred in the cell [x0, x1) × [y0, y1).
  void ChangedTriangle(int x0, int y0, int x1, int y1) {
    const int c = g_.Scaled(6);
    const int left = x0 + (x1 - x0 - c) / 2;
    const int middle = y0 + (y1 - y0) / 2;
    Triangle({{left, middle - c}, {left + c, middle}, {left, middle + c}}, palette::kChangedTriangle);
  }

  void StatusCell() {
    Fill(0, g_.stripBandHeight, m_.dividerX, m_.textTop, palette::StatusCell());
    dc_.SetFont(in_.fonts.uiFont);
    dc_.SetTextForeground(palette::StatusText());
    const wxString total = TotalCaption(in_.total, editor_.LineCount());
    const wxString status = HeaderText(total, sel_.endLine + 1, sel_.endColumn + 1);
    const int inset = g_.Scaled(kHeaderInset);
    const wxRect cell(inset, g_.stripBandHeight, std::max(m_.dividerX - inset, 0), m_.textTop - g_.stripBandHeight);
    wxDCClipper clip(dc_, wxRect(0, g_.stripBandHeight, std::max(m_.dividerX, 0), cell.GetHeight()));
    dc_.DrawLabel(status, cell, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL);
  }

  void Ruler() {
    const int top = g_.stripBandHeight;
    const int bottom = m_.textTop;
    Fill(m_.dividerX, top, m_.clientWidth, bottom, palette::RulerBack());
    if (HasCaret() && sel_.startColumn != sel_.endColumn) {
      const int a = ClampToText(ColumnX(sel_.startColumn));
      const int b = ClampToText(ColumnX(sel_.endColumn));
      Fill(std::min(a, b), top, std::max(a, b), bottom, palette::kTint);
    }
    Line(m_.dividerX, bottom - 1, m_.clientWidth, bottom - 1, palette::RulerTick());
    const int column0 = ColumnX(0);
    if (column0 >= textLeft_) Line(column0, top, column0, bottom, palette::RulerTick());
    if (m_.charWidth > 0) {
      const int rulerWidth = m_.clientWidth - m_.dividerX;
      const std::int64_t last = (rulerWidth - m_.textMargin) / m_.charWidth + editor_.LeftColumn();
      for (std::int64_t i = std::max<std::int64_t>(1, editor_.LeftColumn()); i <= last; ++i) {
        const int x = column0 + static_cast<int>(i * m_.charWidth);
        if (x > m_.clientWidth) break;
        if (x < textLeft_) continue;
        Line(x, top, x, bottom, palette::RulerTick());
        if (i % 10 == 0) Line(x + 1, top, x + 1, bottom, palette::RulerTenthTick());
      }
    }
    if (sel_.startColumn == sel_.endColumn && sel_.startLine != sel_.endLine && HasCaret()) {
      const int x = ColumnX(sel_.startColumn);
      if (x >= textLeft_) {
        const int mid = (top + bottom) / 2;
        const int t = g_.Scaled(6);
        Triangle({{x, mid - t}, {x, mid + t}, {x + t, mid}}, palette::kColumnCaretMarker);
      }
    }
  }

  void HeaderMarker() {
    if (editor_.AnyNameChanged()) ChangedTriangle(MarkerLeft(), g_.stripBandHeight, m_.dividerX - g_.Scaled(5), m_.textTop);
  }

  void Strips() {
    Fill(0, 0, m_.clientWidth, g_.stripBandHeight, palette::StripBand());
    in_.scopeStrip.Paint(dc_, wxRect(0, 0, std::max(m_.dividerX, 0), g_.stripBandHeight));
    const int left = in_.scopeStrip.ContentRight() + g_.stripBandHeight / 2;
    in_.commandStrip.Paint(dc_, wxRect(left, 0, std::max(m_.clientWidth - left, 0), g_.stripBandHeight));
  }

  void ColumnBackgrounds() {
    const int top = m_.textTop;
    const int bottom = m_.clientHeight;
    Fill(0, top, m_.dividerX, bottom, palette::kPane);
    Fill(m_.dividerX, top, m_.clientWidth, bottom, palette::kTextBack);
    Fill(MarkerLeft(), top, m_.dividerX, bottom, palette::MarkerColumn());
    const int minColumn = editor_.MinColumn();
    if (minColumn > 0) {
      Fill(ClampToText(ColumnX(0)), top, ClampToText(ColumnX(minColumn)), bottom, palette::kLockedBand);
    }
    Fill(m_.dividerX, top, textLeft_, bottom, palette::TextMargin());
  }

  int BracketY(std::int64_t line, int offset) const {
    const int y = RowTop(line) + m_.lineHeight / 2;
    const auto clampY = [&](int v) { return std::clamp(v, m_.textTop, std::max(m_.textTop, m_.clientHeight)); };
    return clampY(clampY(y) + offset);
  }

  void Brackets() {
    const int fifth = m_.textMargin / 5;
    const int x1 = m_.dividerX + fifth;
    const int xEnd = textLeft_ - fifth;
    for (const ConflictLink& link : in_.links.duplicateLinks) {
      const int ya = BracketY(link.firstLine, 2);
      const int yb = BracketY(link.secondLine, 2);
      Line(x1, ya - 1, x1, yb, palette::kDuplicateBracket, 2);
      Line(x1, ya, xEnd, ya, palette::kDuplicateBracket, 2);
      Line(x1, yb, xEnd, yb, palette::kDuplicateBracket, 2);
    }
    const int x2 = m_.dividerX + m_.textMargin / 2;
    for (const ConflictLink& link : in_.links.diskNameLinks) {
      const int ya = BracketY(link.firstLine, -2);
      const int yb = BracketY(link.secondLine, -2);
      Line(x2, ya - 1, x2, yb, palette::kDiskNameBracket, 2);
      Line(x2, ya, x1, ya, palette::kDiskNameBracket, 2);
      Line(x2, yb, xEnd, yb, palette::kDiskNameBracket, 2);
    }
  }

  void Divider() {
    if (in_.flags.dividerHover || in_.flags.dividerDragActive) {
      Fill(m_.dividerX - g_.dividerGrip / 2, g_.stripBandHeight, m_.dividerX + g_.dividerGrip / 2, m_.clientHeight,
           palette::StatusCell());
    } else {
      Line(m_.dividerX, m_.textTop, m_.dividerX, m_.clientHeight, palette::StatusCell());
    }
  }

  int VisibleBottom() const { return m_.textTop + visibleRows_ * m_.lineHeight; }

  void BlockBackground() {
    if (!sel_.HasWidth() || !sel_.IsMultiLine() || !HasCaret()) return;
    const int right = ColumnX(editor_.LeftColumn() + editor_.VisibleColumnCount());
    Fill(std::max(ColumnX(sel_.startColumn), textLeft_), std::max(RowTop(sel_.startLine), m_.textTop),
         std::min(ColumnX(sel_.endColumn + 1), right), std::min(RowTop(sel_.endLine + 1), VisibleBottom()),
         palette::BlockBack());
  }

  void Rows() {
    const std::int64_t count = static_cast<std::int64_t>(editor_.LineCount());
    const std::int64_t end = std::min<std::int64_t>(count, editor_.TopLine() + std::max(visibleRows_, 0));
    // Each font is set once for all rows: the names first, then the cells.
    dc_.SetFont(in_.fonts.nameFont);
    dc_.SetTextForeground(palette::kText);
    const int nameTextOffset = (m_.lineHeight - dc_.GetCharHeight()) / 2;
    {
      const int nameLeft = g_.Scaled(4);
      const int nameRight = MarkerLeft() - g_.Scaled(4);
      wxDCClipper clip(dc_, wxRect(nameLeft, m_.textTop, std::max(nameRight - nameLeft, 0),
                                   std::max(m_.clientHeight - m_.textTop, 0)));
      for (std::int64_t line = editor_.TopLine(); line < end; ++line) RowName(line, nameTextOffset);
    }
    for (std::int64_t line = editor_.TopLine(); line < end; ++line) RowBack(line);
    dc_.SetFont(in_.fonts.cellFont);
    const int cellTextOffset = (m_.lineHeight - dc_.GetCharHeight()) / 2;
    for (std::int64_t line = editor_.TopLine(); line < end; ++line) {
      Cells(line, RowTop(line), m_.clientWidth - g_.Scaled(4), cellTextOffset);
    }
    dc_.SetTextForeground(palette::kText);
    dc_.SetFont(in_.fonts.nameFont);
  }

  const NameEntry& Entry(std::int64_t line) const { return editor_.Names()[static_cast<std::size_t>(line)]; }

  void RowName(std::int64_t line, int textOffset) {
    const int top = RowTop(line);
    if (sel_.startLine >= 0 && sel_.startLine <= line && line <= sel_.endLine) {
      Fill(g_.Scaled(4), top, MarkerLeft() - g_.Scaled(4), top + m_.lineHeight, palette::SelectedRow());
    }
    dc_.DrawText(ShownName(Entry(line).originalName), g_.Scaled(4), top + textOffset);
  }

  void RowBack(std::int64_t line) {
    const NameEntry& entry = Entry(line);
    const int top = RowTop(line);
    const int bottom = top + m_.lineHeight;
    if (sel_.startLine == sel_.endLine && line == sel_.startLine) {
      Fill(textLeft_, top, m_.clientWidth - g_.Scaled(4), bottom, palette::CurrentRow());
    }
    if (entry.errorMark) Fill(textLeft_ - g_.Scaled(3), top, textLeft_, bottom, palette::kErrorBar);
    if (entry.newName != entry.originalName) ChangedTriangle(MarkerLeft(), top, m_.dividerX - g_.Scaled(5), bottom);
  }

  /// True when `c` drawn alone is exactly one cell wide, so that a run of such characters drawn
  /// in one call puts each of them on its own cell. A character that bidirectional layout would
  /// move (Hebrew, Arabic, direction marks) never joins a run: its cell holds it in text order.
  bool FitsCell(char16_t c) {
    return in_.cellWidths && !MovesInBidiLayout(c) && !IsControlCharacter(c) &&
           in_.cellWidths->IsExactly(dc_, c, m_.charWidth);
  }

  void Cells(std::int64_t line, int top, int textRight, int textOffset) {
    // Only the columns in sight are laid out, with one more on either side for a pair of halves
    // that the edge cuts: a pass costs the same whatever the line's length.
    const auto left = static_cast<std::size_t>(std::max(editor_.LeftColumn(), 0));
    const std::size_t from = left > 0 ? left - 1 : 0;
    const auto inSight = static_cast<std::size_t>(std::max(editor_.VisibleColumnCount(), 0));
    editor_.LayOutCells(static_cast<std::size_t>(line), cells_, from, inSight + 3);
    const auto& cells = cells_;
    // The marks are one run of columns: the line is selected whole when both its ends are.
    const auto lineLength = static_cast<std::int32_t>(Entry(line).lineText.size());
    const auto row = static_cast<std::int32_t>(line);
    const bool allSelected = lineLength > 0 && editor_.IsMarked(row, 0) && editor_.IsMarked(row, lineLength - 1);
    if (allSelected) Fill(textLeft_, top, textRight, top + m_.lineHeight, palette::kSelectedCell);
    const int textY = top + textOffset;
    const int shift = m_.charWidth * editor_.LeftColumn();
    std::size_t first = 0;
    std::size_t last = first;  // one past the last cell that shows
    while (last < cells.size() && textLeft_ + cells[last].x - shift < m_.clientWidth) ++last;
    while (first < last && textLeft_ + cells[first].x - shift + m_.charWidth <= textLeft_) ++first;
    CellBackgrounds(cells, first, last, top, shift);
    CellTexts(cells, first, last, textY, shift);
  }

  /// One rectangle for each run of selected cells side by side.
  void CellBackgrounds(const std::vector<GlyphCell>& cells, std::size_t first, std::size_t last, int top, int shift) {
    for (std::size_t i = first; i < last;) {
      if (!cells[i].selected) {
        ++i;
        continue;
      }
      std::size_t end = i + 1;
      while (end < last && cells[end].selected && cells[end].x == cells[end - 1].x + m_.charWidth) ++end;
      Fill(textLeft_ + cells[i].x - shift, top, textLeft_ + cells[end - 1].x - shift + m_.charWidth,
           top + m_.lineHeight, palette::kSelectedCell);
      i = end;
    }
  }

  bool IsRed(const GlyphCell& cell) const { return cell.changed && in_.flags.changedRed; }

  void SetTextColour(const GlyphCell& cell) {
    const wxColour& colour = IsRed(cell) ? palette::kChangedText : palette::kText;
    if (colour != textColour_) {
      dc_.SetTextForeground(colour);
      textColour_ = colour;
    }
  }

  /// One past the last cell of the run from `i` (which fits its cell) to at most `last`: cells side
  /// by side, of one colour, each fitting its cell.
  std::size_t RunEnd(const std::vector<GlyphCell>& cells, std::size_t i, std::size_t last) {
    std::size_t end = i + 1;
    while (end < last && end - i < GlyphWidths::kExactRun && IsRed(cells[end]) == IsRed(cells[i]) &&
           cells[end].x == cells[end - 1].x + m_.charWidth && FitsCell(cells[end].ch)) {
      ++end;
    }
    return end;
  }

  /// Runs of one colour whose characters each fit their cell are drawn with one call; any other
  /// character alone in its cell.
  void CellTexts(const std::vector<GlyphCell>& cells, std::size_t first, std::size_t last, int textY, int shift) {
    textColour_ = wxNullColour;
    wxString run;
    for (std::size_t i = first; i < last;) {
      SetTextColour(cells[i]);
      const int x = textLeft_ + cells[i].x - shift;
      if (!FitsCell(cells[i].ch)) {
        const wxString text = CellText(cells, i);
        if (!text.empty()) dc_.DrawText(text, x, textY);
        ++i;
        continue;
      }
      const std::size_t end = RunEnd(cells, i, last);
      run.clear();
      for (; i < end; ++i) run.append(wxUniChar(static_cast<unsigned>(cells[i].ch)));
      dc_.DrawText(run, x, textY);
    }
  }

  void Caret() {
    const PaintFlags& f = in_.flags;
    if (!(f.caretBlinkOn || f.textDragActive || f.rulerDragActive) || !HasCaret()) return;
    if (!sel_.HasWidth() && !sel_.IsMultiLine()) {
      InsertionPoint();
    } else if (!sel_.HasWidth()) {
      const int x = ColumnX(sel_.startColumn);
      if (x < ColumnX(0) || x < textLeft_) return;
      const int top = std::max(m_.textTop, RowTop(sel_.startLine)) + 2;
      const int bottom = std::min({RowTop(sel_.endLine + 1), VisibleBottom(), m_.clientHeight}) - 2;
      if (bottom > top) Line(x, top, x, bottom, palette::kText);
    } else {
      BlockCaret();
    }
  }

  void InsertionPoint() {
    const std::int64_t line = sel_.startLine;
    if (line < editor_.TopLine() || line >= editor_.TopLine() + visibleRows_ || sel_.startColumn < editor_.LeftColumn())
      return;
    if (line < 0 || static_cast<std::size_t>(line) >= editor_.LineCount()) return;
    const std::size_t length = editor_.Names()[static_cast<std::size_t>(line)].lineText.size();
    const std::size_t index = static_cast<std::size_t>(sel_.startColumn - editor_.LeftColumn());
    const int offset = static_cast<int>(std::min(index, length)) * m_.charWidth;
    const int x = textLeft_ + offset;
    const int top = std::clamp(RowTop(line), m_.textTop, std::max(m_.textTop, m_.clientHeight)) + 2;
    Line(x, top, x, RowTop(line) + m_.lineHeight - 2, palette::kText, 2);
  }

  void BlockCaret() {
    const int x = ColumnX(editor_.Caret().column);
    if (x < ColumnX(0) || x < textLeft_) return;
    std::int64_t first = -1;
    std::int64_t last = -1;
    // Only the visible rows can show the line, so only they are looked at.
    const std::int64_t lastVisible = static_cast<std::int64_t>(editor_.TopLine()) + visibleRows_ - 1;
    for (std::int64_t line = std::max<std::int64_t>(sel_.startLine, editor_.TopLine());
         line <= std::min<std::int64_t>(sel_.endLine, lastVisible) &&
         static_cast<std::size_t>(line) < editor_.LineCount();
         ++line) {
      if (editor_.LineHasMarks(static_cast<std::int32_t>(line))) {
        if (first < 0) first = line;
        last = line;
      }
    }
    if (first < 0) return;
    const int top = std::max(RowTop(first), m_.textTop) + 2;
    const int bottom = std::min(RowTop(last + 1), VisibleBottom()) - 2;
    if (bottom > top) Line(x, top, x, bottom, in_.flags.textDragActive ? palette::DragCaret() : palette::kText);
  }

  void RecordingFrame() {
    if (!in_.flags.recording) return;
    const int w = m_.clientWidth;
    const int h = m_.clientHeight;
    const wxPoint frame[5] = {{m_.dividerX, h - 1}, {w - 1, h - 1}, {w - 1, g_.stripBandHeight},
                              {m_.dividerX, g_.stripBandHeight}, {m_.dividerX, h - 1}};
    dc_.SetPen(wxPen(palette::kRecordingFrame, 2));
    dc_.DrawLines(5, frame);
  }

  void Badge(const wxString& text, const wxRect& rect) {
    dc_.SetPen(*wxTRANSPARENT_PEN);
    dc_.SetBrush(wxBrush(palette::kBadge));
    dc_.DrawRectangle(rect);
    dc_.SetPen(wxPen(palette::kBadgeText, 2));
    dc_.SetBrush(*wxTRANSPARENT_BRUSH);
    dc_.DrawRectangle(rect);
    dc_.SetTextForeground(palette::kBadgeText);
    dc_.DrawLabel(text, rect, wxALIGN_CENTER);
  }

  void LineBadge() {
    const PaintFlags& f = in_.flags;
    if (!(f.textDragActive || f.lineDragActive) || sel_.startLine == sel_.endLine) return;
    dc_.SetFont(in_.fonts.uiFont);
    const wxString text = wxString::Format(sel_.startLine == editor_.Caret().line ? "-%d" : "+%d",
                                           std::abs(sel_.endLine - sel_.startLine) + 1);
    const int tw = dc_.GetTextExtent(text).x;
    const int right = m_.dividerX - g_.markerColumnWidth;
    Badge(text, wxRect(right - tw - 10, RowTop(sel_.endLine), tw + 10, m_.lineHeight));
  }

  void ColumnBadge() {
    const PaintFlags& f = in_.flags;
    if (!(f.textDragActive || f.rulerDragActive) || sel_.startColumn == sel_.endColumn) return;
    dc_.SetFont(in_.fonts.uiFont);
    const wxString text = wxString::Format(sel_.startColumn == editor_.Caret().column ? "-%d" : "+%d",
                                           std::abs(sel_.endColumn - sel_.startColumn));
    const int tw = dc_.GetTextExtent(text).x;
    const int s = g_.Scaled(5);
    const int xc = ColumnX(sel_.endColumn);
    const int half = g_.stripBandHeight / 2;
    Badge(text, wxRect(xc - tw / 2 - s, g_.stripBandHeight - half, tw + 2 * s, m_.textTop - g_.stripBandHeight));
  }

  wxDC& dc_;
  const PaintInput& in_;
  const NameEditor& editor_;
  const ViewMetrics& m_;
  const ViewGeometry& g_;
  const BlockSelection& sel_;
  const int textLeft_;
  const int visibleRows_;
  std::vector<GlyphCell> cells_;  ///< the cells of the row being drawn
  wxColour textColour_;
};

}  // namespace

wxString TotalCaption(const std::u16string& total, std::size_t lines) {
  return total.empty() ? wxString::Format("Total: %zu", lines) : ToWx(total);
}

wxString HeaderText(const wxString& total, int line, int column) {
  return total + wxString::Format("  Cur: (%d,%d)", line, column);
}

int HeaderWidth(wxDC& dc, const wxFont& font, const wxString& total, int lines, const ViewGeometry& geometry) {
  dc.SetFont(font);
  // Names longer than 999 characters are rare enough to let their column run into the divider.
  const int widest = dc.GetTextExtent(HeaderText(total, std::max(lines, 1), 999)).x;
  return widest + 2 * geometry.Scaled(kHeaderInset);
}

int MeasureDividerX(wxDC& dc, const NameList& names, std::uint64_t listGeneration, const wxFont& nameFont,
                    GlyphWidthCache& widths, NameWidthBounds& bounds, const ViewGeometry& geometry, int clientWidth,
                    int headerWidth) {
  dc.SetFont(nameFont);
  const int extra = geometry.markerColumnWidth + geometry.textMargin + geometry.Scaled(8);
  const int atMost = clientWidth / 3;
  const int atLeast = std::max(geometry.Scaled(140), headerWidth);
  // Names no wider than this leave the divider at its least; one as wide as `enough` puts it at its most.
  const int narrowest = atLeast - extra;
  const int enough = atMost - extra;
  // The names by their bounds, widest first; a name without a bound is measured whatever.
  auto candidates = bounds.Candidates(dc, names, listGeneration, nameFont, narrowest);
  std::make_heap(candidates.begin(), candidates.end());
  GlyphWidths& fontWidths = widths.For(nameFont);
  int widest = 0;
  while (!candidates.empty() && candidates.front().first > widest && widest < enough) {
    std::pop_heap(candidates.begin(), candidates.end());
    const std::u16string& name = names[candidates.back().second].originalName;
    candidates.pop_back();
    // The bound from this font's own character widths is tighter, and far cheaper than measuring.
    if (fontWidths.UpperBound(dc, name).value_or(std::numeric_limits<int>::max()) <= widest) continue;
    widest = std::max(widest, dc.GetTextExtent(ToWx(name)).x);
  }
  return std::min(atMost, std::max(atLeast, widest + extra));
}

void PaintEditor(wxDC& dc, const PaintInput& input) { Pass(dc, input).Run(); }

}  // namespace nomvarix
