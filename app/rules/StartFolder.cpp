#include "app/rules/StartFolder.h"

#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace nomvarix {

std::u16string ChooseStartFolder(std::u16string_view startPath, std::u16string_view lastPath,
                                 const FileSystem& fileSystem) {
  if (startPath.empty()) return std::u16string(lastPath);
  // Made absolute first, so that a bare file name gives the current folder, not the root.
  const std::u16string path = fileSystem.AbsolutePath(startPath);
  switch (fileSystem.KindOf(path)) {
    case PathKind::Folder:
      return WithTrailingSeparator(path);
    case PathKind::File:
      return WithTrailingSeparator(FolderOfPath(path));
    case PathKind::Missing:
      break;
  }
  return {};
}

}  // namespace nomvarix
