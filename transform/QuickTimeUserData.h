#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "transform/ByteReader.h"

namespace nomvarix {

/// The texts of a QuickTime movie's user data (moov/udta), by their four-byte keys: "\xA9" "ART"
/// the artist, "\xA9" "alb" the album, "\xA9" "nam" the title, and so on. MOV files of cameras and
/// of ffmpeg keep these instead of an iTunes item list. Reads only the headers of the boxes before
/// the movie box, and the movie box when it is at most kMaxMovieBoxBytes. A key of several texts
/// gives its first; empty when the file has none or is damaged.
std::map<std::string, std::u16string, std::less<>> QuickTimeUserTexts(const ReadBytesAt& readAt, std::uint64_t size);

inline constexpr std::uint64_t kMaxMovieBoxBytes = 16ull << 20;

}  // namespace nomvarix
