#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace nomvarix {

/// Up to `count` bytes of a file from `offset`, fewer where it ends; empty on a read error.
using ReadBytesAt = std::function<std::optional<std::string>(std::uint64_t offset, std::size_t count)>;

/// Reads `file`, which must outlive the reader.
inline ReadBytesAt ReaderOf(const ReadableFile& file) {
  return [&file](std::uint64_t offset, std::size_t count) { return file.ReadAt(offset, count); };
}

/// Exactly `count` bytes at `at`; empty when the file ends sooner or cannot be read.
inline std::optional<std::string> ReadExactly(const ReadBytesAt& readAt, std::uint64_t at, std::size_t count) {
  std::optional<std::string> data = readAt(at, count);
  if (!data || data->size() != count) return std::nullopt;
  return data;
}

/// The bytes as one big-endian number (at most four of them).
inline std::uint32_t BigEndian(std::string_view bytes) {
  std::uint32_t value = 0;
  for (const char c : bytes) value = (value << 8) | static_cast<std::uint8_t>(c);
  return value;
}

/// The most segments of a JPEG walked before its start of frame or its EXIF block is given up for.
inline constexpr int kJpegMaxSegments = 100;

}  // namespace nomvarix
