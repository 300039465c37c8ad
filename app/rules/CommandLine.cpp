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

}  // namespace

std::u16string StartPathOf(const std::vector<std::u16string>& arguments) {
  for (const std::u16string& argument : arguments) {
    if (!argument.empty() && !IsSwitch(argument)) return argument;
  }
  return {};
}

}  // namespace nomvarix
