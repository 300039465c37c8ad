#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nomvarix {

/// First and last code unit of the range that carries an undecodable byte through UTF-16:
/// byte b (0x80..0xFF) that is not part of valid UTF-8 becomes the lone low surrogate 0xDC00 + b.
inline constexpr char16_t kEscapedByteFirst = 0xDC80;
inline constexpr char16_t kEscapedByteLast = 0xDCFF;

constexpr bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
/// Whether a code point needs two UTF-16 units. (Taken as 32 bits whatever the caller's character
/// type: where that is 16 bits wide, the answer is simply false.)
constexpr bool NeedsTwoUnits(std::uint32_t codePoint) { return codePoint > 0xFFFF; }

/// Whether `column` of `text` falls between the two halves of a surrogate pair. Inline: every
/// keystroke asks it of every line typed into.
inline bool SplitsSurrogatePair(std::u16string_view text, std::size_t column) {
  return column > 0 && column < text.size() && IsHighSurrogate(text[column - 1]) && IsLowSurrogate(text[column]);
}

/// The units [begin, end) of the character at `column`: both halves of a surrogate pair, else the
/// one unit. `column` must be inside `text`.
struct UnitSpan {
  std::size_t begin;
  std::size_t end;
};
UnitSpan CharacterAt(std::u16string_view text, std::size_t column);

/// `text` with every high surrogate that is not followed by a low one replaced by U+FFFD: text from
/// outside (the clipboard) could otherwise pair with an escaped byte it is put before, and the
/// name written would hold a character nobody typed.
std::u16string WithoutLoneHighSurrogates(std::u16string_view text);

/// Decodes UTF-8 into UTF-16. Every byte that is not part of a well-formed sequence (stray
/// continuation bytes, truncated or overlong sequences, encoded surrogates, values above U+10FFFF)
/// becomes one escaped code unit, so that `ToUtf8(FromUtf8(b)) == b` for every byte string b.
std::u16string FromUtf8(std::string_view bytes);

/// As FromUtf8, appending to `out` (which lets a loop reuse one buffer).
void AppendFromUtf8(std::u16string& out, std::string_view bytes);

/// Encodes UTF-16 as UTF-8. An escaped byte (a lone 0xDC80..0xDCFF) is written back as that byte;
/// any other lone surrogate, which no decoded name contains, is written as U+FFFD.
std::string ToUtf8(std::u16string_view text);

/// As ToUtf8, appending to `out` (which lets a loop reuse one buffer).
void AppendUtf8(std::string& out, std::u16string_view text);

}  // namespace nomvarix
