#include "app/rules/CommandLine.h"

namespace nomvarix {
namespace {

bool IsSwitch(const std::u16string& argument) {
  if (argument.empty()) return false;
#ifdef _WIN32
  return argument.front() == u'-' || argument.front() == u'/';
#else
  return argument.front() == u'-';
#endif
}

constexpr const char* kUsage =
    "Usage: nomvarix [FOLDER | FILE]\n"
    "Renames many files at once: their names are edited as lines of text, and nothing on disk\n"
    "changes until the changes are applied.\n"
    "\n"
    "  FOLDER     the folder to open\n"
    "  FILE       a file whose folder to open\n"
    "             (without either, the folder opened last is opened again)\n"
    "  --help     print this text and exit\n"
    "  --version  print the program's name and version and exit\n"
    "\n"
    "Other arguments that begin with \"-\" are ignored.\n";

}  // namespace

std::optional<std::string> InformationOf(const std::vector<std::u16string>& arguments) {
  for (const std::u16string& argument : arguments) {
    if (argument == u"--help" || argument == u"-h") return std::string(kUsage);
    if (argument == u"--version") return std::string("Nomvarix ") + kProgramVersion + "\n";
  }
  return std::nullopt;
}

std::u16string StartPathOf(const std::vector<std::u16string>& arguments) {
  for (const std::u16string& argument : arguments) {
    if (!argument.empty() && !IsSwitch(argument)) return argument;
  }
  return {};
}

}  // namespace nomvarix
