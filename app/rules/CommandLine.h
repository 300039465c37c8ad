#pragma once

#include <optional>
#include <string>
#include <vector>

namespace nomvarix {

/// The start path of a command line (the program name excluded): the first argument that is not a
/// switch, a switch being an argument that starts with "-" or "/". Empty when there is none.
/// On POSIX, where "/" begins every absolute path, only "-" starts a switch.
std::u16string StartPathOf(const std::vector<std::u16string>& arguments);

/// The program's version as the About box and --version show it: the project's version, which the
/// packages carry too.
inline constexpr const char* kProgramVersion = NOMVARIX_VERSION;

/// What the program prints instead of starting, when a switch asks for it: the usage text for
/// "--help" or "-h", the name and version ("Nomvarix 1.00") for "--version"; the first such switch
/// wins. Each text ends with a line end. None when no switch asks.
std::optional<std::string> InformationOf(const std::vector<std::u16string>& arguments);

}  // namespace nomvarix
