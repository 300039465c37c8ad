#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileIdentity.h"

namespace nomvarix {

class FileSystem;
enum class RenameResult;

/// The files of one folder, looked up and renamed by their names: for work that touches many files
/// of the same folder, such as an apply. Each call means what the FileSystem call of the same name
/// means for the path of the folder joined with the name, which is one entry's name and never
/// empty. A system may hold the folder open, so that each call resolves the name alone and not the
/// whole path again; the folder then stays the one opened even should its path be given to another
/// folder meanwhile.
class FolderFiles {
 public:
  virtual ~FolderFiles() = default;
  virtual bool EntryExists(std::u16string_view name) const = 0;
  virtual bool IsSameFile(std::u16string_view a, std::u16string_view b) const = 0;
  virtual bool IsListableFile(std::u16string_view name) const = 0;
  virtual std::optional<FileIdentity> IdentityOfListableFile(std::u16string_view name) const = 0;
  virtual RenameResult RenameNoReplace(std::u16string_view from, std::u16string_view to) = 0;
};

/// The files of `folder` (ending with a separator) through the path-taking calls of `fileSystem`,
/// which must outlive the result.
std::unique_ptr<FolderFiles> FolderFilesByPath(FileSystem& fileSystem, std::u16string_view folder);

}  // namespace nomvarix
