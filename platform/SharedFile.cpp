#include "platform/SharedFile.h"

namespace nomvarix {

std::optional<std::string> ReadSharedFile(std::u16string_view path, std::size_t maxBytes) {
  SharedFileContent content = ReadSharedFileChecked(path, maxBytes);
  if (content.state == SharedFileState::kMissing) return std::string();
  if (content.state != SharedFileState::kRead) return std::nullopt;
  return std::move(content.bytes);
}

}  // namespace nomvarix
