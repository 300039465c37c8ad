#pragma once

#include <string_view>

namespace nomvarix {

/// The program's scalable icon (resources/nomvarix.svg), built in so that the program can install
/// it wherever it runs from.
std::string_view AppIconSvg();

}  // namespace nomvarix
