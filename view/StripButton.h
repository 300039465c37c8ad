#pragma once

#include <string>

#include <wx/colour.h>
#include <wx/gdicmn.h>

namespace nomvarix {

enum class StripButtonKind { Push, Separator, CheckBox, DropDown, Group };

/// One button of a command strip, added as a complete record.
struct StripButton {
  int id = 0;  ///< passed to the strip's callback; 0 for a separator or a button without action
  std::u16string caption;
  wxColour fillColor;     ///< the shape's background (a check box: the checked box)
  wxColour captionColor;  ///< the caption (a check box: also the tick)
  wxColour borderColor;
  StripButtonKind kind = StripButtonKind::Push;
  int widthPercent = 100;  ///< laid-out width as a share of the natural width
  bool enabled = true;
  bool checked = false;
  bool visible = true;
  bool blinking = false;  ///< the fill alternates with half its brightness with the blink phase
  int menuId = 0;         ///< the menu a drop-down button shows

  wxRect rect;             ///< set by the layout; empty when the button is not laid out
  bool overflowed = false;  ///< set by the layout: no room on the strip, offered in its overflow menu
  bool hovered = false;
  bool pressed = false;
};

}  // namespace nomvarix
