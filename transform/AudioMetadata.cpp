#include "transform/AudioMetadata.h"

#include <memory>

#include "platform/Path.h"

namespace nomvarix {

std::optional<AudioMetadata> GetAudioMetadata(const FileSystem& fileSystem, std::u16string_view path) {
  const std::unique_ptr<ReadableFile> file = fileSystem.OpenRegularFile(path);
  if (!file) return std::nullopt;
  return ReadAudioMetadata(*file, path.substr(FolderOfPath(path).size()));
}

}  // namespace nomvarix
