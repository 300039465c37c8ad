#pragma once

namespace nomvarix {

/// The dots per inch the toolkit renders text at, in its own logical pixels: on GTK the font
/// resolution of the desktop (raised by "Large Text" or a forced font DPI, independent of the
/// display's scale), 96 where text follows the display's resolution as everything else does.
double TextResolution();

}  // namespace nomvarix
