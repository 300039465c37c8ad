#include "apply/SetAside.h"

#include "platform/FileSystem.h"
#include "text/Utf16.h"

namespace nomvarix {

std::optional<std::u16string> SetAside(FileSystem& fileSystem, std::u16string_view path) {
  constexpr int kTries = 100;
  for (int number = 1; number <= kTries; ++number) {
    std::u16string aside(path);
    if (number > 1) {
      aside += u'.';
      aside += FromUtf8(std::to_string(number));
    }
    aside += u".bad";
    switch (fileSystem.RenameNoReplace(path, aside)) {
      case RenameResult::Renamed: return aside;
      case RenameResult::TargetExists: continue;
      default: return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace nomvarix
