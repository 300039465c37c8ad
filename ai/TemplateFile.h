#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ai/PromptTemplate.h"

namespace nomvarix {

class FileSystem;

/// Where the AI assistant keeps its data files: the user's folder and the program's own data folder
/// beside the executable (never created). Both end with a separator.
/// The user's folder is Documents/Nomvarix/data where the system has no XDG data home (Windows) or
/// where Documents/Nomvarix exists already; otherwise $XDG_DATA_HOME/nomvarix. It is created when
/// missing each time it is resolved, with the folders above it under the data home, but the
/// documents folder itself is never created.
struct UserDataFolders {
  std::u16string user;
  std::u16string program;
};
UserDataFolders ResolveDataFolders(FileSystem& fileSystem);

/// The text of a UTF-8 file up to its first NUL; empty when it cannot be read.
std::optional<std::u16string> ReadUtf8File(const FileSystem& fileSystem, std::u16string_view path);
/// Writes the text as UTF-8, without a byte-order mark.
bool WriteUtf8File(FileSystem& fileSystem, std::u16string_view path, std::u16string_view text);

/// What LoadTemplate found.
struct TemplateLoad {
  /// The parsed file; empty when there is none or it was refused (the built-in template is used).
  std::optional<PromptTemplate> prompt;
  /// Why the file found was not loaded (larger than a template can be, unreadable), to be shown;
  /// empty otherwise. A file that was not loaded must never be saved over.
  std::u16string refusal;
};

/// "template.txt" of the user's folder, else of the program's folder, parsed.
TemplateLoad LoadTemplate(FileSystem& fileSystem);
/// Writes an edited template text into the user's folder, whichever folder it was read from.
bool SaveTemplateText(FileSystem& fileSystem, std::u16string_view text);

}  // namespace nomvarix
