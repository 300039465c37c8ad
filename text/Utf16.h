#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

/// First and last code unit of the range that carries an undecodable byte through UTF-16:
/// byte b (0x80..0xFF) that is not part of valid UTF-8 becomes the lone low surrogate 0xDC00 + b.
inline constexpr char16_t kEscapedByteFirst = 0xDC80;
inline constexpr char16_t kEscapedByteLast = 0xDCFF;

/// Decodes UTF-8 into UTF-16. Every byte that is not part of a well-formed sequence (stray
/// continuation bytes, truncated or overlong sequences, encoded surrogates, values above U+10FFFF)
/// becomes one escaped code unit, so that `ToUtf8(FromUtf8(b)) == b` for every byte string b.
std::u16string FromUtf8(std::string_view bytes);

/// As FromUtf8, appending to `out` (which lets a loop reuse one buffer).
void AppendFromUtf8(std::u16string& out, std::string_view bytes);

/// Encodes UTF-16 as UTF-8. An escaped byte (a lone 0xDC80..0xDCFF) is written back as that byte;
/// any other lone surrogate, which no decoded name contains, is written as U+FFFD.
std::string ToUtf8(std::u16string_view text);

}  // namespace nomvarix
