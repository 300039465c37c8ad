#pragma once

#include <string>

#include <cstdint>

#include <wx/gdicmn.h>

#include "editor/NameEntry.h"

class wxDC;
class wxFont;

namespace nomvarix {

class CommandStrip;
class GlyphWidthCache;
class GlyphWidths;
class NameWidthBounds;
class NameEditor;
struct ConflictLinks;
struct ViewFonts;
struct ViewGeometry;

/// What the paint pass shows besides the editor's lines and selection.
struct PaintFlags {
  bool changedRed = true;
  bool caretBlinkOn = false;
  bool textDragActive = false;
  bool rulerDragActive = false;
  bool lineDragActive = false;
  bool dividerDragActive = false;
  bool dividerHover = false;
  bool recording = false;
};

/// Everything one paint pass reads. The editor's metrics give the line height, character width,
/// divider, text top, margin and client size.
struct PaintInput {
  const NameEditor& editor;
  const ConflictLinks& links;
  const ViewGeometry& geometry;
  const ViewFonts& fonts;
  PaintFlags flags;
  CommandStrip& scopeStrip;
  CommandStrip& commandStrip;
  /// The cell font's character widths, kept from pass to pass: runs of characters exactly one
  /// cell wide are drawn with one call. Without it every cell is drawn alone.
  GlyphWidths* cellWidths = nullptr;
  /// The count the header shows ("Total: 0 of 24 (filter: mp3)"); by default "Total: " and the
  /// number of lines.
  std::u16string total = {};
};

/// The divider position for the names: wide enough for the widest disk name and for the header
/// above the names (`headerWidth`), at least 140 pixels scaled, never beyond a third of the
/// client width. Only the names that `bounds` cannot rule out are
/// measured whole. `listGeneration` is the editor's ListGeneration for `names`.
int MeasureDividerX(wxDC& dc, const NameList& names, std::uint64_t listGeneration, const wxFont& nameFont,
                    GlyphWidthCache& widths, NameWidthBounds& bounds, const ViewGeometry& geometry, int clientWidth,
                    int headerWidth = 0);

/// The count the header shows: `total`, or "Total: " and the number of lines when it is empty.
wxString TotalCaption(const std::u16string& total, std::size_t lines);
/// The header above the names for `total` ("Total: 24") and the caret at line and column
/// (counted from 1): "Total: 24  Cur: (3,7)".
wxString HeaderText(const wxString& total, int line, int column);
/// The width the header needs with the widest caret position a list of `lines` lines shows.
int HeaderWidth(wxDC& dc, const wxFont& font, const wxString& total, int lines, const ViewGeometry& geometry);

/// Draws the whole editor view into `dc`: bands, ruler, strips, columns, brackets, rows, caret
/// and badges. Only the visible rows and cells are drawn.
void PaintEditor(wxDC& dc, const PaintInput& input);

}  // namespace nomvarix
