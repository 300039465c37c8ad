#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

/// The folder separator of this platform; every folder path the program keeps ends with it.
#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

/// True for the platform's separators ("\" and "/" on Windows, "/" elsewhere).
bool IsPathSeparator(char16_t u);

/// The path with one separator appended unless it already ends with one (an empty path stays empty).
std::u16string WithTrailingSeparator(std::u16string_view path);

/// The folder part of a file path, drive and directory, ending with a separator: "/a/b/c.txt" gives
/// "/a/b/". Empty when the path has no folder part.
std::u16string FolderOfPath(std::u16string_view path);

/// A name appended to a folder path, with a separator between them when the folder lacks one.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

}  // namespace nomvarix
