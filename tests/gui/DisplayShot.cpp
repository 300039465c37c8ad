#include "DisplayShot.h"

#include <wx/window.h>

// Last: Xlib defines macros (None, Bool, Status) that clash with other headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace nomvarix::test {

struct DisplayShot::Pixels {
  Display* display = nullptr;
  XImage* image = nullptr;
  ~Pixels() {
    if (image) XDestroyImage(image);
    if (display) XCloseDisplay(display);
  }
};

DisplayShot::DisplayShot(const wxWindow& window) : scale_(window.GetContentScaleFactor()) {
  const wxPoint origin = window.ClientToScreen(wxPoint(0, 0));
  const wxSize size = window.GetClientSize();
  auto pixels = std::make_unique<Pixels>();
  pixels->display = XOpenDisplay(nullptr);
  if (!pixels->display) return;
  pixels->image = XGetImage(pixels->display, DefaultRootWindow(pixels->display), Physical(origin.x),
                            Physical(origin.y), static_cast<unsigned>(Physical(size.x)),
                            static_cast<unsigned>(Physical(size.y)), AllPlanes, ZPixmap);
  if (pixels->image) pixels_ = std::move(pixels);
}

DisplayShot::~DisplayShot() = default;

int DisplayShot::Height() const { return pixels_->image->height; }

wxColour DisplayShot::At(int x, int y) const {
  const unsigned long pixel = XGetPixel(pixels_->image, x, y);
  return wxColour((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

}  // namespace nomvarix::test
