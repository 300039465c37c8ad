#pragma once

#include <cstdint>
#include <string_view>

namespace nomvarix {

/// The CRC-32 of `bytes` that PNG chunks and zip entries carry (reflected polynomial 0xEDB88320).
/// Bit by bit: it is asked only of a few header bytes.
constexpr std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (const char c : bytes) {
    crc ^= static_cast<std::uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return crc ^ 0xFFFFFFFF;
}

}  // namespace nomvarix
