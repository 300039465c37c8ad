#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "transform/ByteReader.h"

namespace nomvarix {

/// The most bytes of an EXIF block handed to the EXIF parser: the "Exif\0\0" header and 64 KB, as
/// much as one JPEG segment can hold.
inline constexpr std::size_t kMaxExifBlockBytes = 6 + 65536;

/// The EXIF block of a file of `size` bytes that `readAt` reads, starting with "Exif\0\0": the first
/// such APP1 segment of a JPEG (its segments walked from the start, at most a hundred, never past
/// the start of the scan), of the JPEG that a Fuji raw file holds, or the start of a file that is
/// a bare EXIF block. Empty when there is none or the file ends sooner than its segments say.
std::optional<std::string> ExifBlockOfFile(std::uint64_t size, const ReadBytesAt& readAt);

/// "YYYY:MM:DD HH:MM:SS" exactly, a real calendar date and time of day, read as the clock fields
/// of a UTC time (EXIF keeps no zone: formatting it in UTC shows the camera's clock). The text
/// ends at its first NUL. Empty for anything else, such as the "0000:00:00 00:00:00" of a camera
/// whose clock was never set.
std::optional<FileClock::time_point> ParseExifDateTime(std::string_view text);

/// When the photo of an EXIF block was taken: its DateTimeOriginal, else its DateTimeDigitized,
/// as ParseExifDateTime reads them. Empty when the block has neither in a valid form, however
/// damaged the block is.
std::optional<FileClock::time_point> DateTakenOfExif(std::string_view block);

/// The date taken of the file at `path`, opened through the file-system port (which never waits
/// on a pipe or device); any extension, the content decides. Empty when there is none.
std::optional<FileClock::time_point> GetDateTaken(const FileSystem& fileSystem, std::u16string_view path);

}  // namespace nomvarix
