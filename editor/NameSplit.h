#pragma once

#include <string_view>

namespace nomvarix {

/// A name cut at its last ".": base is everything before it, dotExt the "." and what follows.
struct SplitName {
  std::u16string_view base;
  std::u16string_view dotExt;
};

/// Splits at the last ".". Without a "." the base is the whole name and dotExt is empty;
/// ".gitignore" gives an empty base and the dotExt ".gitignore".
SplitName SplitAtLastDot(std::u16string_view name);

/// The part after the last ".", without it; empty when the name has no ".".
std::u16string_view ExtensionOf(std::u16string_view name);

}  // namespace nomvarix
