#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

// Byte-level cleaning of 8-bit text on its way to and from the chat server. Lead bytes are those of
// UTF-8's 2-, 3- and 4-byte forms: 0xC0..0xDF, 0xE0..0xEF, 0xF0..0xF7.

/// Keeps every complete sequence (a lead byte and its 0x80..0xBF continuation bytes) and every
/// byte below 0x80; maps a stray byte of the five Latin-1 capital ranges to its vowel and any
/// other stray byte to "?". The result passes IsValidUtf8.
std::string CleanUtf8(std::string_view bytes);

/// True when every byte of 0x80 or more starts a complete sequence, the sequences taken whole.
bool IsValidUtf8(std::string_view bytes);

/// Text a JSON parser accepts: the bytes as they are, each byte that starts no complete sequence
/// replaced by U+FFFD, so that the text shows where it was damaged and no name can be made of it.
std::string AsValidUtf8(std::string_view bytes);

}  // namespace nomvarix
