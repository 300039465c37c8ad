#include "text/Utf8Parts.h"

#include <algorithm>
#include <string>

#include "text/Utf16.h"

namespace nomvarix {

void ForEachUtf16Part(std::string_view bytes, std::size_t partBytes,
                      const std::function<void(std::u16string_view)>& take) {
  const auto isContinuation = [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; };
  std::u16string part;
  while (!bytes.empty()) {
    std::size_t cut = std::min(std::max<std::size_t>(partBytes, 1), bytes.size());
    // Back to the start of the character the cut falls into, or on past its end when it starts the
    // part: a sequence is never split, and a stray byte is escaped alike wherever the cut lies.
    std::size_t start = cut;
    while (start > 0 && start < bytes.size() && isContinuation(bytes[start])) --start;
    if (start > 0) {
      cut = start;
    } else {
      while (cut < bytes.size() && isContinuation(bytes[cut])) ++cut;
    }
    part.clear();
    AppendFromUtf8(part, bytes.substr(0, cut));
    take(part);
    bytes.remove_prefix(cut);
  }
}

}  // namespace nomvarix
