#pragma once

#include <string>
#include <vector>

namespace nomvarix {

/// The start path of a command line (the program name excluded): the first argument that is not a
/// switch, a switch being an argument that starts with "-" or "/". Empty when there is none.
/// On POSIX, where "/" begins every absolute path, only "-" starts a switch.
std::u16string StartPathOf(const std::vector<std::u16string>& arguments);

}  // namespace nomvarix
