#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <wx/colour.h>
#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include "view/StripButton.h"

class wxDC;
class wxMenu;
class wxWindow;

namespace nomvarix {

/// The caption a button with `space` pixels for it shows: the whole caption, else its first
/// character, else nothing; `need` gives a text's width with its padding.
wxString FitCaption(const wxString& caption, int space, const std::function<int(const wxString&)>& need);

/// A row of painted buttons in a band of the editor view: laid out from the left or the right,
/// compressed when too narrow, the buttons at the far end moved into an overflow menu ("»") when
/// even that does not fit, drawn with rounded anti-aliased shapes, with hover, press, check
/// boxes, drop-down menus and button groups. A click reports the button's id to the callback.
class CommandStrip {
 public:
  enum class Direction { FromLeft, FromRight };
  using Callback = std::function<void(unsigned id)>;
  /// Makes the menu a drop-down button shows; null when there is none.
  using MenuSource = std::function<std::unique_ptr<wxMenu>(int menuId)>;

  CommandStrip(Direction direction, int dotsPerInch);

  /// Lays the strip out for another resolution from the next paint on (the window moved to a
  /// monitor of another DPI).
  void SetDpi(int dotsPerInch);

  /// The window the drop-down menus pop up over; their commands go to it.
  void SetOwner(wxWindow* owner, MenuSource menus);
  void SetCallback(Callback callback) { callback_ = std::move(callback); }
  void SetBackground(const wxColour& colour) { background_ = colour; }
  void SetDisabledColours(const wxColour& fill, const wxColour& text, const wxColour& border);
  void SetBlinkPhase(bool on) { blinkPhase_ = on; }

  void AddButton(const StripButton& button) { buttons_.push_back(button); }
  const StripButton* Find(int id) const;
  const std::vector<StripButton>& Buttons() const { return buttons_; }

  /// Lays the strip out in `rect` and draws it there.
  void Paint(wxDC& dc, const wxRect& rect);
  /// The painted rectangle narrowed to the laid-out content: where the mouse reaches the strip.
  const wxRect& Area() const { return area_; }
  int ContentRight() const { return contentRight_; }
  /// Where the overflow button was painted; empty when every button had room.
  const wxRect& OverflowRect() const { return overflowRect_; }
  /// The narrowest rectangle in which every button, hidden ones too, is laid out whole once the
  /// strip is compressed.
  int NeededWidth(wxDC& dc) const;

  bool OnMouseMove(const wxPoint& point);
  bool OnButtonDown(const wxPoint& point);
  bool OnButtonUp(const wxPoint& point);

  // Each setter returns whether the value changed, so the caller repaints only then.
  bool SetCaption(int id, std::u16string caption);
  bool SetFillColor(int id, const wxColour& colour);
  bool SetCaptionColor(int id, const wxColour& colour);
  bool SetEnabled(int id, bool enabled);
  bool SetVisible(int id, bool visible);
  bool SetBlinking(int id, bool blinking);
  bool SetChecked(int id, bool checked);

 private:
  struct Colours {
    wxColour fill, caption, border;
  };

  StripButton* FindMutable(int id);
  template <typename Value>
  bool Set(int id, Value StripButton::*field, const Value& value);
  /// Whether `point` is on the part of the button that the last paint showed.
  bool ShownAt(const StripButton& button, const wxPoint& point) const;
  StripButton* ButtonAt(const wxPoint& point);

  void Layout(wxDC& dc, const wxRect& rect);
  void Pack(const std::vector<int>& widths, const wxRect& rect);
  bool Overflows(const wxRect& rect) const { return rect.GetWidth() + 1 < contentRight_ - contentLeft_; }
  /// Moves buttons from the far end into the overflow menu until the rest fits beside its button.
  void Overflow(wxDC& dc, const std::vector<int>& widths, const wxRect& rect);
  void DrawOverflowButton(wxDC& dc);
  void ShowOverflowMenu();
  int NaturalWidth(wxDC& dc, const StripButton& button) const;
  /// A button's laid-out width `width` in a compressed strip.
  int CompressedWidth(const StripButton& button, int width) const;
  Colours ColoursOf(const StripButton& button) const;
  void DrawButton(wxDC& dc, const StripButton& button);
  void DrawRoundedShape(wxDC& dc, const wxRect& rect, const Colours& colours) const;
  void DrawFittedCaption(wxDC& dc, const StripButton& button, const wxRect& space, const wxColour& colour) const;
  void DrawArrow(wxDC& dc, const wxRect& rect, const Colours& colours, int direction) const;
  void DrawCheckBox(wxDC& dc, const StripButton& button, const Colours& colours) const;
  void DrawGroupFrame(wxDC& dc, std::size_t group, const Colours& colours) const;
  void Act(StripButton& button);
  void ToggleGroup(std::size_t group);
  void ShowMenu(const StripButton& button);

  int Scaled(int n) const;

  Direction direction_;
  int dpi_;
  std::vector<StripButton> buttons_;
  wxWindow* owner_ = nullptr;
  MenuSource menus_;
  Callback callback_;
  wxColour background_{0, 0, 0};
  wxColour disabledFill_{60, 60, 60};
  wxColour disabledText_{120, 120, 120};
  wxColour disabledBorder_{80, 80, 80};
  bool blinkPhase_ = false;
  wxFont mediumFont_;
  wxFont regularFont_;
  int fontHeight_ = 0;
  int contentLeft_ = 0;
  int contentRight_ = 0;
  wxRect painted_;  ///< the rectangle of the last paint
  wxRect area_;
  wxRect overflowRect_;
  bool overflowPressed_ = false;
  int pressedId_ = 0;
  bool tracking_ = false;
};

}  // namespace nomvarix
