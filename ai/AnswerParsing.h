#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ai/RenamePair.h"

namespace nomvarix {

/// The pairs of a model's answer (UTF-8). A JSON value in it (fenced or among prose) is read with
/// a JSON parser: every object with string members "original" and "renamed", both non-empty, in any
/// key order, gives a pair; commas before a closing bracket are forgiven. When no such pair is found
/// the answer is decoded (DecodeUnicodeEscapes) and scanned (ScanAnswer) instead. Either way each
/// new name is trimmed of white space (a pair whose new name is then empty is left out), and one
/// that holds a control character, a line or paragraph separator, a format character (invisible,
/// or a text-direction mark or override), a Hangul filler, U+FFFD (a byte of the answer that was
/// not valid UTF-8) or a lone surrogate is refused, so that no such name can reach a file.
std::vector<RenamePair> ParseAnswer(std::string_view answer);

/// The answer's bytes as text: each "\uXXXX" escape becomes its UTF-16 unit (as many hexadecimal
/// digits as stand there, at least one); the rest is read as UTF-8, and a byte that is not valid
/// UTF-8 is kept as its escaped unit so the text stays lossless.
std::u16string DecodeUnicodeEscapes(std::string_view answer);

/// The pairs a tolerant scan finds in an answer: after the first "[", for each "{" that is followed
/// by "original" and "renamed", the values after the next two colons, each up to the next comma and
/// cleaned of line breaks, braces, brackets, blanks and quotes. Pairs with an empty value are left
/// out. Fences and prose around the list do not matter.
std::vector<RenamePair> ScanAnswer(std::u16string_view answer);

/// One value of the scan: the text after the first `key` up to the next `terminator`, cleaned;
/// `text` then starts after the terminator. Empty, leaving `text` alone, when either is missing.
std::u16string ExtractValue(std::u16string_view& text, std::u16string_view key, std::u16string_view terminator);

/// "original, renamed\r\n" for every pair of every group, in order; a refused pair says so, and
/// why, instead of showing the name. Past `maxLines` pairs, one last line says how many more
/// there are ("\u2026 and 14000 more"): a listing is for reading, the pairs themselves are all kept.
std::u16string ListParsedPairs(const std::vector<std::vector<RenamePair>>& groups,
                               std::size_t maxLines = static_cast<std::size_t>(-1));

}  // namespace nomvarix
