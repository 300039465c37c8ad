#pragma once

#include <memory>

#include <wx/colour.h>

class wxWindow;

namespace nomvarix::test {

/// The pixels of the display under a window's client area, read from the X server: what the user
/// sees, at the display's resolution rather than the toolkit's logical one.
class DisplayShot {
 public:
  explicit DisplayShot(const wxWindow& window);
  ~DisplayShot();
  DisplayShot(const DisplayShot&) = delete;
  DisplayShot& operator=(const DisplayShot&) = delete;

  bool IsOk() const { return pixels_ != nullptr; }
  /// A length in the window's logical pixels as pixels of the display.
  int Physical(int logical) const { return static_cast<int>(logical * scale_); }
  int Height() const;
  /// The colour at a pixel of the display, relative to the client area's top-left corner.
  wxColour At(int x, int y) const;

 private:
  struct Pixels;
  double scale_;
  std::unique_ptr<Pixels> pixels_;
};

}  // namespace nomvarix::test
