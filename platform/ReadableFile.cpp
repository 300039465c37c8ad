#include <algorithm>

#include "platform/FileSystem.h"

namespace nomvarix {

std::optional<std::string> ReadToEnd(const ReadableFile& file, std::size_t maxBytes) {
  // One byte more than expected tells a file that grew since it was opened.
  std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), maxBytes)) + 1;
  std::string data;
  for (;;) {
    std::optional<std::string> part = file.ReadAt(data.size(), want - data.size());
    if (!part) return std::nullopt;
    const bool ended = data.size() + part->size() < want;
    if (data.empty()) {
      data = std::move(*part);
    } else {
      data += *part;
    }
    if (data.size() > maxBytes) return std::nullopt;
    if (ended) return data;
    want = std::min(maxBytes + 1, want * 2);
  }
}

}  // namespace nomvarix
