#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace nomvarix {

/// The whole file; empty when it does not exist yet, nothing when it cannot be read.
std::optional<std::string> ReadSharedFile(std::u16string_view path);

/// Rewrites a file that several running programs share, such as the settings: `change` gets the
/// file's current content (empty when there is none) and returns the new one, or nothing to leave
/// the file as it is. Missing folders on the way are created. Updates of the same file by any
/// process run one at a time, under a lock on "<path>.lock". The new content goes to a new file, readable by its owner only, that then takes
/// the old one's name: a reader, or a program killed half way, finds the old or the new content
/// whole. False when the file was not rewritten.
bool UpdateSharedFile(std::u16string_view path,
                      const std::function<std::optional<std::string>(std::string_view current)>& change);

/// Deletes a shared file (its lock file stays, for whoever waits on it); true when it is gone.
bool RemoveSharedFile(std::u16string_view path);

/// Makes an existing file readable and writable by its owner only, where the system keeps such
/// modes (a file under a Windows profile is its user's already).
void KeepToOwner(std::u16string_view path);

}  // namespace nomvarix
