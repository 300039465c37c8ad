#pragma once

#include <string_view>

namespace nomvarix {

/// Creates `folder` (ending with a separator) and the folders above it that are missing, on POSIX
/// readable by their owner only. True when the folder exists afterwards.
bool MakeFolders(std::u16string_view folder);

}  // namespace nomvarix
