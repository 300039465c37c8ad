#include "view/CommandStrip.h"

#include <algorithm>

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/graphics.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/window.h>

#include "view/Shade.h"
#include "view/ViewGeometry.h"
#include "controls/WxText.h"

namespace nomvarix {
namespace {

constexpr int kArrowDown = 0;
constexpr int kArrowRight = 1;
constexpr int kArrowLeft = 2;

/// The overflow button's caption, and the first id of its menu's own items.
const wxString kOverflowCaption = wxString::FromUTF8("\u00BB");
constexpr int kOverflowMenuFirst = wxID_HIGHEST + 1;

bool HasArrow(StripButtonKind kind) { return kind == StripButtonKind::DropDown || kind == StripButtonKind::Group; }

wxFont StripFont(int dpi, wxFontWeight weight) {
  return FontOf(ScaledLength(12, dpi), wxFONTFAMILY_SWISS, {"Segoe UI"}, weight);
}

int ScreenFontHeight() {
  wxScreenDC screen;
  screen.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  return screen.GetCharHeight();
}

}  // namespace

wxString FitCaption(const wxString& caption, int space, const std::function<int(const wxString&)>& need) {
  if (space >= need(caption)) return caption;
  const wxString first = caption.Left(1);
  return space >= need(first) ? first : wxString();
}

CommandStrip::CommandStrip(Direction direction, int dotsPerInch)
    : direction_(direction),
      dpi_(dotsPerInch > 0 ? dotsPerInch : 96),
      mediumFont_(StripFont(dpi_, wxFONTWEIGHT_MEDIUM)),
      regularFont_(StripFont(dpi_, wxFONTWEIGHT_NORMAL)),
      fontHeight_(ScreenFontHeight()) {}

void CommandStrip::SetDpi(int dotsPerInch) {
  dpi_ = dotsPerInch > 0 ? dotsPerInch : 96;
  mediumFont_ = StripFont(dpi_, wxFONTWEIGHT_MEDIUM);
  regularFont_ = StripFont(dpi_, wxFONTWEIGHT_NORMAL);
  fontHeight_ = ScreenFontHeight();
}

int CommandStrip::Scaled(int n) const { return ScaledLength(n, dpi_); }

void CommandStrip::SetOwner(wxWindow* owner, MenuSource menus) {
  owner_ = owner;
  menus_ = std::move(menus);
}

void CommandStrip::SetDisabledColours(const wxColour& fill, const wxColour& text, const wxColour& border) {
  disabledFill_ = fill;
  disabledText_ = text;
  disabledBorder_ = border;
}

const StripButton* CommandStrip::Find(int id) const {
  const auto it = std::find_if(buttons_.begin(), buttons_.end(), [id](const StripButton& b) { return b.id == id; });
  return it == buttons_.end() ? nullptr : &*it;
}

StripButton* CommandStrip::FindMutable(int id) { return const_cast<StripButton*>(Find(id)); }

template <typename Value>
bool CommandStrip::Set(int id, Value StripButton::*field, const Value& value) {
  StripButton* button = FindMutable(id);
  if (!button || button->*field == value) return false;
  button->*field = value;
  return true;
}

bool CommandStrip::SetCaption(int id, std::u16string caption) { return Set(id, &StripButton::caption, caption); }
bool CommandStrip::SetFillColor(int id, const wxColour& colour) { return Set(id, &StripButton::fillColor, colour); }
bool CommandStrip::SetCaptionColor(int id, const wxColour& colour) {
  return Set(id, &StripButton::captionColor, colour);
}
bool CommandStrip::SetEnabled(int id, bool enabled) { return Set(id, &StripButton::enabled, enabled); }
bool CommandStrip::SetVisible(int id, bool visible) { return Set(id, &StripButton::visible, visible); }
bool CommandStrip::SetBlinking(int id, bool blinking) { return Set(id, &StripButton::blinking, blinking); }
bool CommandStrip::SetChecked(int id, bool checked) { return Set(id, &StripButton::checked, checked); }

// ---- Layout ------------------------------------------------------------------------------------

int CommandStrip::NaturalWidth(wxDC& dc, const StripButton& button) const {
  dc.SetFont(mediumFont_);
  const int text = button.caption.empty() ? 0 : dc.GetTextExtent(ToWx(button.caption)).x;
  switch (button.kind) {
    case StripButtonKind::Separator:
      return text + 2 * Scaled(4);
    case StripButtonKind::CheckBox:
      return text + fontHeight_ + Scaled(4);
    case StripButtonKind::DropDown:
      return text + 2 * Scaled(16) + Scaled(16);
    case StripButtonKind::Push:
    case StripButtonKind::Group:
      break;
  }
  return text + 2 * Scaled(16);
}

int CommandStrip::CompressedWidth(const StripButton& button, int width) const {
  switch (button.kind) {
    case StripButtonKind::Separator:
      return 0;
    case StripButtonKind::CheckBox:
    case StripButtonKind::Group:
      return width;
    case StripButtonKind::Push:
    case StripButtonKind::DropDown:
      break;
  }
  return std::max(width - Scaled(16), 0);
}

int CommandStrip::NeededWidth(wxDC& dc) const {
  // As packed: the spacing before each button and after the last.
  int width = Scaled(8);
  for (const StripButton& button : buttons_) {
    width += CompressedWidth(button, NaturalWidth(dc, button) * button.widthPercent / 100) + Scaled(8);
  }
  return width;
}

void CommandStrip::Pack(const std::vector<int>& widths, const wxRect& rect) {
  const int top = rect.GetTop() + Scaled(8);
  const int height = rect.GetBottom() + 1 - Scaled(8) - top;
  const int spacing = Scaled(8);
  for (StripButton& button : buttons_) button.rect = wxRect();
  const auto packed = [](const StripButton& button) { return button.visible && !button.overflowed; };
  if (direction_ == Direction::FromLeft) {
    int x = rect.GetLeft() + spacing;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
      if (!packed(buttons_[i])) continue;
      buttons_[i].rect = wxRect(x, top, widths[i], height);
      contentRight_ = x + widths[i];
      x += widths[i] + spacing;
    }
    contentLeft_ = rect.GetLeft();
    if (contentRight_ < contentLeft_) contentRight_ = contentLeft_;
  } else {
    int x = rect.GetRight() + 1 - spacing;
    contentLeft_ = rect.GetRight() + 1;
    for (std::size_t i = buttons_.size(); i-- > 0;) {
      if (!packed(buttons_[i])) continue;
      buttons_[i].rect = wxRect(x - widths[i], top, widths[i], height);
      contentLeft_ = x - widths[i];
      x -= widths[i] + spacing;
    }
    contentRight_ = rect.GetRight() + 1;
  }
}

void CommandStrip::Layout(wxDC& dc, const wxRect& rect) {
  std::vector<int> widths(buttons_.size(), 0);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i].visible) widths[i] = NaturalWidth(dc, buttons_[i]) * buttons_[i].widthPercent / 100;
  }
  contentLeft_ = contentRight_ = rect.GetLeft();
  overflowRect_ = wxRect();
  for (StripButton& button : buttons_) button.overflowed = false;
  Pack(widths, rect);
  if (Overflows(rect)) {
    for (std::size_t i = 0; i < buttons_.size(); ++i) widths[i] = CompressedWidth(buttons_[i], widths[i]);
    Pack(widths, rect);
  }
  if (Overflows(rect)) Overflow(dc, widths, rect);
  const bool empty = std::none_of(buttons_.begin(), buttons_.end(), [](const StripButton& b) { return b.visible; });
  // Content that overflows the strip is clipped away when painting: it takes no clicks either.
  painted_ = rect;
  area_ = empty ? wxRect()
                : wxRect(contentLeft_, rect.GetTop(), contentRight_ - contentLeft_, rect.GetHeight()).Intersect(rect);
}

void CommandStrip::Overflow(wxDC& dc, const std::vector<int>& widths, const wxRect& rect) {
  dc.SetFont(mediumFont_);
  const int width = dc.GetTextExtent(kOverflowCaption).x + 2 * Scaled(8);
  const int spacing = Scaled(8);
  // The rest of the strip, beside the overflow button at the end the buttons leave from.
  wxRect rest = rect;
  rest.SetWidth(std::max(rect.GetWidth() - width - spacing, 0));
  if (direction_ == Direction::FromRight) rest.SetLeft(rect.GetRight() + 1 - rest.GetWidth());
  const std::size_t count = buttons_.size();
  for (std::size_t k = 0; k < count && Overflows(rest); ++k) {
    StripButton& button = buttons_[direction_ == Direction::FromRight ? k : count - 1 - k];
    if (!button.visible) continue;
    button.overflowed = true;
    button.hovered = button.pressed = false;
    Pack(widths, rest);
  }
  const int top = rect.GetTop() + Scaled(8);
  const int height = rect.GetBottom() + 1 - Scaled(8) - top;
  if (direction_ == Direction::FromRight) {
    contentLeft_ = contentLeft_ - spacing - width;
    overflowRect_ = wxRect(contentLeft_, top, width, height);
  } else {
    overflowRect_ = wxRect(contentRight_ + spacing, top, width, height);
    contentRight_ = overflowRect_.GetRight() + 1;
  }
}

// ---- Painting ----------------------------------------------------------------------------------

void CommandStrip::Paint(wxDC& dc, const wxRect& rect) {
  wxDCClipper clip(dc, rect);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(background_));
  dc.DrawRectangle(rect);
  Layout(dc, rect);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (!buttons_[i].visible || buttons_[i].overflowed) continue;
    if (buttons_[i].kind == StripButtonKind::Group) DrawGroupFrame(dc, i, ColoursOf(buttons_[i]));
    DrawButton(dc, buttons_[i]);
  }
  if (!overflowRect_.IsEmpty()) DrawOverflowButton(dc);
}

void CommandStrip::DrawOverflowButton(wxDC& dc) {
  const wxColour fill = Darken(background_, overflowPressed_ ? 0.5f : 0.7f);
  DrawRoundedShape(dc, overflowRect_, {fill, *wxWHITE, wxColour(200, 200, 200)});
  dc.SetFont(mediumFont_);
  dc.SetTextForeground(*wxWHITE);
  dc.DrawLabel(kOverflowCaption, overflowRect_, wxALIGN_CENTER);
}

CommandStrip::Colours CommandStrip::ColoursOf(const StripButton& button) const {
  if (!button.enabled) return {disabledFill_, disabledText_, disabledBorder_};
  Colours colours{button.fillColor, button.captionColor, button.borderColor};
  if (button.blinking && blinkPhase_) colours.fill = Darken(colours.fill, 0.5f);
  if (button.kind == StripButtonKind::Separator) return colours;
  if (button.pressed) {
    colours.fill = Darken(colours.fill, 0.7f);
    colours.border = Darken(colours.border, 0.7f);
  } else if (button.hovered) {
    colours.fill = Darken(colours.fill, 1.2f);
    colours.border = Darken(colours.border, 1.2f);
  }
  return colours;
}

void CommandStrip::DrawButton(wxDC& dc, const StripButton& button) {
  const Colours colours = ColoursOf(button);
  const wxRect& r = button.rect;
  if (button.kind == StripButtonKind::Separator) return;
  if (button.kind == StripButtonKind::CheckBox) {
    DrawCheckBox(dc, button, colours);
    return;
  }
  DrawRoundedShape(dc, r, colours);
  dc.SetFont(mediumFont_);
  wxRect inset = r;
  inset.Deflate(Scaled(8), Scaled(4));
  if (!HasArrow(button.kind)) {
    DrawFittedCaption(dc, button, inset, colours.caption);
    return;
  }
  inset.SetWidth(inset.GetWidth() - Scaled(16));
  DrawFittedCaption(dc, button, inset, colours.caption);
  int direction = kArrowDown;
  if (button.kind == StripButtonKind::Group) {
    const auto self = static_cast<std::size_t>(&button - buttons_.data());
    const bool open = self + 1 < buttons_.size() && buttons_[self + 1].kind != StripButtonKind::Separator &&
                      buttons_[self + 1].visible;
    direction = open ? kArrowLeft : kArrowRight;
  }
  DrawArrow(dc, r, colours, direction);
}

void CommandStrip::DrawRoundedShape(wxDC& dc, const wxRect& rect, const Colours& colours) const {
  if (rect.GetWidth() <= 0 || rect.GetHeight() <= 0) return;
  // At the display's resolution: a bitmap of logical pixels would be stretched, and blur, where
  // the toolkit scales them.
  wxBitmap shape;
  shape.CreateWithDIPSize(rect.GetSize(), dc.GetContentScaleFactor(), 24);
  {
    wxMemoryDC memory(shape);
    memory.SetBackground(wxBrush(background_));
    memory.Clear();
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(memory));
    if (gc) {
      gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
      gc->SetPen(wxPen(colours.border, 2));
      gc->SetBrush(wxBrush(colours.fill));
      gc->DrawRoundedRectangle(1, 1, rect.GetWidth() - 2, rect.GetHeight() - 2, 8);
    }
  }
  dc.DrawBitmap(shape, rect.GetPosition());
}

void CommandStrip::DrawFittedCaption(wxDC& dc, const StripButton& button, const wxRect& space,
                                     const wxColour& colour) const {
  if (button.caption.empty()) return;
  const int available = space.GetWidth() + 2 * Scaled(8);
  const auto need = [&](const wxString& text) { return dc.GetTextExtent(text).x + 2 * Scaled(8); };
  const wxString caption = FitCaption(ToWx(button.caption), available, need);
  if (caption.empty()) return;
  dc.SetTextForeground(colour);
  dc.DrawLabel(caption, space, wxALIGN_CENTER);
}

void CommandStrip::DrawArrow(wxDC& dc, const wxRect& r, const Colours& colours, int direction) const {
  const int lineX = r.GetRight() + 1 - Scaled(4) - Scaled(16);
  dc.SetPen(wxPen(colours.border, 1));
  dc.DrawLine(lineX, r.GetTop() + Scaled(2), lineX, r.GetBottom() + 1 - Scaled(2));
  const int cx = (lineX + r.GetRight() + 1 - Scaled(4)) / 2;
  const int cy = r.GetTop() + r.GetHeight() / 2;
  const int h = Scaled(3);
  wxPoint points[3];
  if (direction == kArrowDown) {
    points[0] = {cx - h, cy - h / 2};
    points[1] = {cx + h, cy - h / 2};
    points[2] = {cx, cy + h - h / 2};
  } else {
    const int tip = direction == kArrowRight ? h : -h;
    points[0] = {cx - tip / 2, cy - h};
    points[1] = {cx - tip / 2, cy + h};
    points[2] = {cx + tip - tip / 2, cy};
  }
  dc.SetBrush(wxBrush(colours.caption));
  dc.DrawPolygon(3, points);
}

void CommandStrip::DrawCheckBox(wxDC& dc, const StripButton& button, const Colours& colours) const {
  const wxRect& r = button.rect;
  const int side = fontHeight_ - Scaled(4);
  const wxRect box(r.GetLeft(), r.GetTop() + (r.GetHeight() - side) / 2, side, side);
  if (button.checked && button.enabled) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colours.fill));
    dc.DrawRectangle(box);
    const wxPoint c(box.GetLeft() + side / 2, box.GetTop() + side / 2);
    const wxPoint tick[3] = {{c.x - Scaled(3), c.y}, {c.x, c.y + Scaled(3)}, {c.x + Scaled(4), c.y - Scaled(4)}};
    dc.SetPen(wxPen(colours.caption, 2));
    dc.DrawLines(3, tick);
  }
  dc.SetPen(wxPen(colours.border, button.checked ? 1 : 2));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(box);
  dc.SetFont(regularFont_);
  dc.SetTextForeground(colours.caption);
  const wxRect text(box.GetRight() + 1 + Scaled(8), r.GetTop(), r.GetRight() - box.GetRight() - Scaled(8), r.GetHeight());
  dc.DrawLabel(ToWx(button.caption), text, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL);
}

void CommandStrip::DrawGroupFrame(wxDC& dc, std::size_t group, const Colours& colours) const {
  const StripButton* last = nullptr;
  for (std::size_t i = group + 1; i < buttons_.size() && buttons_[i].kind != StripButtonKind::Separator; ++i) {
    if (buttons_[i].visible && !buttons_[i].overflowed) last = &buttons_[i];
  }
  if (!last) return;
  const wxRect& r = buttons_[group].rect;
  const int left = r.GetRight() + 1 - Scaled(10);
  const int right = last->rect.GetRight() + 1 + Scaled(Scaled(16) / 2 + 4);
  dc.SetPen(wxPen(colours.border, 1));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(left, r.GetTop() - Scaled(4), right - left, r.GetHeight() + 2 * Scaled(4));
}

// ---- Mouse -------------------------------------------------------------------------------------

bool CommandStrip::ShownAt(const StripButton& button, const wxPoint& point) const {
  return button.visible && !button.overflowed && button.rect.Intersect(painted_).Contains(point);
}

StripButton* CommandStrip::ButtonAt(const wxPoint& point) {
  const auto it = std::find_if(buttons_.begin(), buttons_.end(), [&](const StripButton& b) { return ShownAt(b, point); });
  return it == buttons_.end() ? nullptr : &*it;
}

bool CommandStrip::OnMouseMove(const wxPoint& point) {
  bool changed = false;
  for (StripButton& button : buttons_) {
    if (!button.enabled || button.id == 0) continue;
    const bool inside = ShownAt(button, point);
    changed |= button.hovered != inside;
    button.hovered = inside;
  }
  return changed;
}

bool CommandStrip::OnButtonDown(const wxPoint& point) {
  if (!area_.Contains(point)) return false;
  tracking_ = true;
  if (overflowRect_.Contains(point)) {
    overflowPressed_ = true;
    return true;
  }
  StripButton* button = ButtonAt(point);
  if (!button || !button->enabled || button->id == 0) {
    if (button && button->id == 0) tracking_ = false;
    return false;
  }
  button->pressed = true;
  pressedId_ = button->id;
  return true;
}

bool CommandStrip::OnButtonUp(const wxPoint& point) {
  if (!tracking_) return false;
  tracking_ = false;
  if (overflowPressed_) {
    overflowPressed_ = false;
    if (overflowRect_.Contains(point)) ShowOverflowMenu();
    return true;
  }
  bool released = false;
  for (StripButton& button : buttons_) {
    released |= button.pressed;
    button.pressed = false;
  }
  StripButton* button = ButtonAt(point);
  const int pressed = pressedId_;
  pressedId_ = 0;
  if (button && button->id == pressed && pressed != 0 && button->enabled) Act(*button);
  return released;
}

void CommandStrip::Act(StripButton& button) {
  const unsigned id = static_cast<unsigned>(button.id);
  switch (button.kind) {
    case StripButtonKind::CheckBox:
      button.checked = !button.checked;
      break;
    case StripButtonKind::DropDown:
      ShowMenu(button);
      break;
    case StripButtonKind::Group:
      ToggleGroup(static_cast<std::size_t>(&button - buttons_.data()));
      break;
    case StripButtonKind::Push:
    case StripButtonKind::Separator:
      break;
  }
  if (callback_) callback_(id);
}

void CommandStrip::ToggleGroup(std::size_t group) {
  const std::size_t first = group + 1;
  if (first >= buttons_.size() || buttons_[first].kind == StripButtonKind::Separator) return;
  const bool show = !buttons_[first].visible;
  for (std::size_t i = first; i < buttons_.size() && buttons_[i].kind != StripButtonKind::Separator; ++i) {
    buttons_[i].visible = show;
  }
}

void CommandStrip::ShowMenu(const StripButton& button) {
  if (!owner_ || !menus_) return;
  std::unique_ptr<wxMenu> menu = menus_(button.menuId);
  if (menu) owner_->PopupMenu(menu.get(), button.rect.GetBottomLeft() + wxPoint(0, 1));
}

void CommandStrip::ShowOverflowMenu() {
  if (!owner_) return;
  wxMenu menu;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const StripButton& button = buttons_[i];
    if (!button.visible || !button.overflowed || button.kind == StripButtonKind::Separator) continue;
    wxString caption = ToWx(button.caption);
    caption.Replace("&", "&&");
    if (button.kind == StripButtonKind::DropDown) {
      if (std::unique_ptr<wxMenu> items = menus_ ? menus_(button.menuId) : nullptr) {
        menu.AppendSubMenu(items.release(), caption);
      }
      continue;
    }
    const int id = kOverflowMenuFirst + static_cast<int>(i);
    if (button.kind == StripButtonKind::CheckBox) {
      menu.AppendCheckItem(id, caption)->Check(button.checked);
    } else {
      menu.Append(id, caption);
    }
    menu.Enable(id, button.enabled && button.id != 0);
  }
  const int chosen = owner_->GetPopupMenuSelectionFromUser(menu, overflowRect_.GetBottomLeft() + wxPoint(0, 1));
  if (chosen == wxID_NONE) return;
  const int index = chosen - kOverflowMenuFirst;
  if (index >= 0 && static_cast<std::size_t>(index) < buttons_.size()) {
    Act(buttons_[static_cast<std::size_t>(index)]);
    return;
  }
  // An item of a drop-down button's menu goes where that menu's items go when it drops down.
  wxCommandEvent command(wxEVT_MENU, chosen);
  command.SetEventObject(owner_);
  owner_->ProcessWindowEvent(command);
}

}  // namespace nomvarix
