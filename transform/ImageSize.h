#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace nomvarix {

class FileSystem;

/// Width and height in pixels as the file's header stores them (a top-down BMP's height is its
/// negative value's bit pattern).
struct ImageSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;

  bool operator==(const ImageSize&) const = default;
};

/// How many bytes of a file's start decide its format and hold the PNG, BMP and GIF sizes.
inline constexpr std::size_t kImageHeaderBytes = 26;
/// JPEG and WebP files are read whole, up to this size.
inline constexpr std::uint64_t kMaxImageFileBytes = 104857600;

/// The size from a file's first kImageHeaderBytes bytes (fewer when the file is shorter); JPEG and
/// WebP ask `wholeFile` for all of it. Empty for anything unrecognised or too short; no byte past
/// the data is ever read.
std::optional<ImageSize> ImageSizeOfFile(std::string_view header,
                                         const std::function<std::optional<std::string>()>& wholeFile);

/// The size of the image at `path` when its extension is jpg, jpeg, png, bmp, webp or gif (any
/// ASCII case); the content decides the format. Empty when the file cannot be read or measured.
std::optional<ImageSize> GetImageSize(const FileSystem& fileSystem, std::u16string_view path);

}  // namespace nomvarix
