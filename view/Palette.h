#pragma once

#include <wx/colour.h>

#include "view/Shade.h"

namespace nomvarix::palette {

// The editor view's base colours; the shades of the bands, rows and selection derive from them.
inline const wxColour kPane(230, 230, 230);          ///< disk-name column
inline const wxColour kTextBack(255, 255, 255);      ///< text column
inline const wxColour kText(0, 0, 0);                ///< text and caret
inline const wxColour kTint(230, 234, 255);          ///< source of the selection shades
inline const wxColour kSelectedCell(200, 214, 255);  ///< selected cells and fully selected rows

inline wxColour StripBand() { return Darken(kPane, 0.6f); }
inline wxColour StatusCell() { return Darken(kPane, 0.8f); }  ///< also the divider
inline wxColour BandSeparator() { return Darken(kPane, 0.7f); }
inline wxColour MarkerColumn() { return Darken(kPane, 0.95f); }
inline wxColour RulerBack() { return Darken(kTextBack, 0.8f); }
inline wxColour RulerTick() { return Darken(kTextBack, 0.7f); }
inline wxColour RulerTenthTick() { return Darken(kTextBack, 0.39999998f); }
inline wxColour TextMargin() { return Darken(kTextBack, 0.95f); }
inline wxColour SelectedRow() { return Darken(kTint, 0.9f); }
inline wxColour CurrentRow() { return Lighten(kTint, 0.1f); }
inline wxColour BlockBack() { return Lighten(kTint, 0.5f); }
inline wxColour DragCaret() { return Darken(kTint, 0.7f); }
inline wxColour StatusText() { return Lighten(kText, 0.3f); }

inline const wxColour kChangedText(180, 0, 0);
inline const wxColour kChangedTriangle(240, 64, 64);
inline const wxColour kErrorBar(255, 64, 65);
inline const wxColour kLockedBand(255, 240, 240);
inline const wxColour kColumnCaretMarker(163, 37, 37);
inline const wxColour kDuplicateBracket(255, 64, 64);
inline const wxColour kDiskNameBracket(64, 64, 255);
inline const wxColour kRecordingFrame(255, 0, 0);
inline const wxColour kBadge(239, 96, 15);
inline const wxColour kBadgeText(251, 251, 251);

}  // namespace nomvarix::palette
