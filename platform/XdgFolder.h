#pragma once

#include <string>

namespace nomvarix {

/// A base folder of the XDG rules on POSIX systems: the absolute path in `variable` (a relative one
/// is ignored, as the rules say), else `underHome` below the home folder. No closing separator.
std::string XdgBaseFolder(const char* variable, const char* underHome);

}  // namespace nomvarix
