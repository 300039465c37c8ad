#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

class FileSystem;

/// The folder to open at start-up, ending with a separator, or empty for none.
/// With a start path: a folder is used as it is, a file gives its folder, a missing path gives
/// none (and `lastPath` is then not consulted). Without one, `lastPath` is used as it is.
/// Relative start paths are taken against the current folder.
std::u16string ChooseStartFolder(std::u16string_view startPath, std::u16string_view lastPath,
                                 const FileSystem& fileSystem);

}  // namespace nomvarix
