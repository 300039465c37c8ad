#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

// Byte-level cleaning of 8-bit text on its way to and from the chat server. Lead bytes are those of
// UTF-8's 2-, 3- and 4-byte forms: 0xC0..0xDF, 0xE0..0xEF, 0xF0..0xF7.

/// Drops what cannot start a sequence: bytes below 0x80 pass; 0xC0..0xC5, 0xC8..0xCB, 0xCC..0xCF,
/// 0xD2..0xD6 and 0xD9..0xDC (the Latin-1 accented capitals) become "A", "E", "I", "O", "U"; other
/// lead bytes up to 0xF4 pass when enough bytes follow for their sequence; every other byte
/// (continuation bytes, 0xF5..0xFF, lead bytes cut off at the end) is dropped.
std::string CleanText(std::string_view bytes);

/// Keeps every complete sequence (a lead byte and its 0x80..0xBF continuation bytes) and every
/// byte below 0x80; maps a stray byte of the five Latin-1 capital ranges to its vowel and any
/// other stray byte to "?". The result passes IsValidUtf8.
std::string CleanUtf8(std::string_view bytes);

/// True when every byte of 0x80 or more starts a complete sequence, the sequences taken whole.
bool IsValidUtf8(std::string_view bytes);

/// Text a JSON parser accepts: the bytes as they are when valid, else CleanUtf8 of them.
std::string AsValidUtf8(std::string_view bytes);

}  // namespace nomvarix
