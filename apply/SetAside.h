#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nomvarix {

class FileSystem;

/// Moves a file of the program's own that cannot be used (a pipe, a device, a link to one, a file
/// far too large or damaged) out of the way, without opening it: renamed beside it to
/// "<name>.bad", or "<name>.2.bad", "<name>.3.bad", ... when that is taken, never replacing a file.
/// A link is moved itself, not what it points to. The new path; nothing when it could not be moved.
std::optional<std::u16string> SetAside(FileSystem& fileSystem, std::u16string_view path);

}  // namespace nomvarix
