#include "transform/PhotoMetadata.h"

#include <memory>

namespace nomvarix {

std::optional<PhotoMetadata> GetPhotoMetadata(const FileSystem& fileSystem, std::u16string_view path) {
  const std::unique_ptr<ReadableFile> file = fileSystem.OpenRegularFile(path);
  if (!file) return std::nullopt;
  return ReadPhotoMetadata(*file);
}

}  // namespace nomvarix
