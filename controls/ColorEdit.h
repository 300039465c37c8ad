#pragma once

#include <wx/textctrl.h>

namespace nomvarix {

/// A multi-line text box with its own background and text colours and, when set, a fixed-pitch
/// font. Text, scrolling and editing are the toolkit control's.
class CColorEdit final : public wxTextCtrl {
 public:
  CColorEdit(wxWindow* parent, wxWindowID id, long extraStyle = 0);

  /// "Courier New" (or the system's fixed-pitch font) with characters `pixelHeight` high.
  void SetFixedFont(int pixelHeight);
  void SetBackground(const wxColour& colour);
  void SetTextColor(const wxColour& colour);
  bool HasOwnFont() const { return hasOwnFont_; }

 private:
  bool hasOwnFont_ = false;
};

}  // namespace nomvarix
