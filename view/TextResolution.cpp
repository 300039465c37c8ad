#include "view/TextResolution.h"

#if defined(__WXGTK__) && !defined(__WINDOWS__)
#include <dlfcn.h>
#endif

namespace nomvarix {

double TextResolution() {
#if defined(__WXGTK__) && !defined(__WINDOWS__)
  // GDK is loaded with the toolkit; its headers are not needed for these two calls.
  using DefaultScreen = void* (*)();
  using ScreenResolution = double (*)(void*);
  const auto screen = reinterpret_cast<DefaultScreen>(dlsym(RTLD_DEFAULT, "gdk_screen_get_default"));
  const auto resolution = reinterpret_cast<ScreenResolution>(dlsym(RTLD_DEFAULT, "gdk_screen_get_resolution"));
  if (screen && resolution) {
    if (void* const current = screen()) {
      // GDK answers -1 when no resolution is set; anything outside a sane range is ignored too.
      const double dpi = resolution(current);
      if (dpi >= 48 && dpi <= 480) return dpi;
    }
  }
#endif
  return 96;
}

}  // namespace nomvarix
