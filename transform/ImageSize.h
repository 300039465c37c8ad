#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "transform/ByteReader.h"

namespace nomvarix {

class FileSystem;

/// Width and height in pixels, each at least 1.
struct ImageSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;

  bool operator==(const ImageSize&) const = default;
};

/// How many bytes of a file's start decide its format and hold the PNG (with its header's CRC), BMP
/// and GIF sizes.
inline constexpr std::size_t kImageHeaderBytes = 33;
/// JPEG and WebP files larger than this are not measured.
inline constexpr std::uint64_t kMaxImageFileBytes = 104857600;

/// The size of an image of `size` bytes that `readAt` reads: the format from the first
/// kImageHeaderBytes bytes (fewer when the file is shorter), a JPEG's from its segments read in
/// turn up to its start of frame. Empty for anything unrecognised, damaged, too short or cut short
/// while read; no byte past the file is ever used.
std::optional<ImageSize> ImageSizeOfFile(std::uint64_t size, const ReadBytesAt& readAt);

/// The size of the image at `path` when its extension is jpg, jpeg, png, bmp, webp or gif (any
/// ASCII case); the content decides the format. Empty when the file cannot be read or measured.
std::optional<ImageSize> GetImageSize(const FileSystem& fileSystem, std::u16string_view path);

}  // namespace nomvarix
