#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace nomvarix {

/// Larger than any file of the program's own state could be (the kept edits of a million lines
/// take well under a tenth of it): a larger one was not written by this program.
inline constexpr std::size_t kMaxSharedFileBytes = std::size_t{512} << 20;

/// What reading a shared file found.
enum class SharedFileState {
  kRead,        ///< a regular file, read whole
  kMissing,     ///< no file yet (or a link to a file not made yet)
  kNotAFile,    ///< a folder, a pipe, a device or a link to one of these
  kTooLarge,    ///< a regular file larger than the reader's bound
  kUnreadable,  ///< the system refused the read
};

struct SharedFileContent {
  SharedFileState state = SharedFileState::kUnreadable;
  std::string bytes;      ///< the whole file when read
  bool readOnly = false;  ///< an existing file that its owner may not write, which is left as it is
};

/// Reads a file that several running programs share, such as the settings. Only a regular file is
/// read (a symbolic link is followed to one), its open never waits (a pipe put in its place does
/// not block the program), and a file larger than `maxBytes` is not read at all.
SharedFileContent ReadSharedFileChecked(std::u16string_view path, std::size_t maxBytes);

/// The whole file as ReadSharedFileChecked reads it; empty when it does not exist yet, nothing
/// when it cannot be read, is no regular file or is larger than `maxBytes`.
std::optional<std::string> ReadSharedFile(std::u16string_view path,
                                          std::size_t maxBytes = kMaxSharedFileBytes);

/// Rewrites a file that several running programs share, such as the settings: `change` gets the
/// file's current content (empty when there is none) and returns the new one, or nothing to leave
/// the file as it is. Missing folders on the way are created. Updates of files in the same folder
/// by any process run one at a time, under a lock that leaves no file behind. The new content goes
/// to a new file, readable by its owner only, that then takes the old one's name: a reader, or a
/// program killed half way, finds the old or the new content whole. A symbolic link stays a link:
/// the file it points to is replaced. False when the file was not rewritten, and always when it
/// cannot be read as ReadSharedFileChecked reads it within `maxBytes` or is read-only.
bool UpdateSharedFile(std::u16string_view path,
                      const std::function<std::optional<std::string>(std::string_view current)>& change,
                      std::size_t maxBytes = kMaxSharedFileBytes);

/// Moves the shared file `path` (the file a link points to, when it is one) to `asidePath`,
/// replacing what was there, under the lock UpdateSharedFile takes. False when it could not.
bool SetSharedFileAside(std::u16string_view path, std::u16string_view asidePath);

/// Deletes a shared file; true when it is gone.
bool RemoveSharedFile(std::u16string_view path);

/// Makes an existing file readable and writable by its owner only, where the system keeps such
/// modes (a file under a Windows profile is its user's already).
void KeepToOwner(std::u16string_view path);

}  // namespace nomvarix
