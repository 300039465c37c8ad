#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace nomvarix {

/// Decodes `bytes` as FromUtf8 does, handing the text to `take` in parts, each decoded from at most
/// `partBytes` bytes (more only where one character, or a run of stray continuation bytes, is
/// longer) and cut where a character begins, so that the parts joined are FromUtf8(bytes): a large
/// text is decoded without being held whole. Each part is valid only during its call.
void ForEachUtf16Part(std::string_view bytes, std::size_t partBytes,
                      const std::function<void(std::u16string_view)>& take);

}  // namespace nomvarix
