// Runs the GUI tests of a desktop whose font resolution is raised to 144 dots per inch while the
// display itself stays unscaled, as "Large Text" or a forced font DPI do.
#include <cstring>

#include <gtest/gtest.h>

#include "GuiTestEnvironment.h"

// Last: Xlib's macros (None, Bool, Status) would rename names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

/// Puts "Xft.dpi: 144" among the display's resources, as `xrdb -merge` would. The connection stays
/// open until the end: the X server forgets its resources when its last client leaves.
Display* RaiseFontResolution() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  const char resources[] = "Xft.dpi:\t144\n";
  XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources), static_cast<int>(std::strlen(resources)));
  XSync(display, False);
  return display;
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = RaiseFontResolution();
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new nomvarix::test::GuiTestEnvironment(argc, argv));
  const int result = RUN_ALL_TESTS();
  if (display) XCloseDisplay(display);
  return result;
}
