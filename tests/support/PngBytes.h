#pragma once

#include <cstdint>
#include <string>

#include "transform/Crc32.h"

namespace nomvarix::test {

/// The start of a PNG of `width` × `height`: the signature and an intact IHDR chunk, its CRC
/// included (8-bit RGBA).
inline std::string PngHeader(std::uint32_t width, std::uint32_t height) {
  const auto bigEndian = [](std::uint32_t value) {
    return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                       static_cast<char>(value)};
  };
  const std::string chunk = "IHDR" + bigEndian(width) + bigEndian(height) + std::string("\x08\x06\x00\x00\x00", 5);
  return std::string("\x89PNG\r\n\x1a\n", 8) + bigEndian(13) + chunk + bigEndian(Crc32(chunk));
}

}  // namespace nomvarix::test
