#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace nomvarix {

/// What a photo says of itself. Texts are as recorded (UTF-8 read as UTF-16, trailing NULs and
/// spaces gone) and empty when absent; numbers are empty when absent or not a number.
struct PhotoMetadata {
  std::optional<FileClock::time_point> dateTaken;  ///< the camera's clock, read as UTC
  std::u16string make;
  std::u16string model;
  std::u16string lens;
  std::optional<std::uint32_t> iso;
  std::optional<double> focalLength;   ///< millimetres
  std::optional<double> exposureTime;  ///< seconds
  std::optional<double> fNumber;
  std::optional<std::uint32_t> width;   ///< pixels, as the file records them
  std::optional<std::uint32_t> height;
  std::optional<std::uint16_t> orientation;  ///< 1 to 8, as EXIF numbers them
};

/// The metadata of the photo `file` holds, whatever its format (the content decides). Reads only
/// what the format needs, never more than a bounded part of a large file. Empty when the file is
/// no photo the reader knows or is too damaged to read; never throws.
std::optional<PhotoMetadata> ReadPhotoMetadata(const ReadableFile& file);

/// The metadata of the photo at `path`, opened through the file-system port (regular files only).
std::optional<PhotoMetadata> GetPhotoMetadata(const FileSystem& fileSystem, std::u16string_view path);

}  // namespace nomvarix
