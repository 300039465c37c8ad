#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nomvarix::test {

inline constexpr std::uint16_t kDateTimeOriginal = 0x9003;
inline constexpr std::uint16_t kDateTimeDigitized = 0x9004;

/// Where the first entry of ExifBlock's EXIF IFD keeps its count and its value (or value offset),
/// counted from the start of the block: for making damaged blocks.
inline constexpr std::size_t kFirstEntryCountAt = 6 + 26 + 2 + 4;
inline constexpr std::size_t kFirstEntryValueAt = kFirstEntryCountAt + 4;
/// Where IFD0's one entry keeps the offset of the EXIF IFD, and where that IFD keeps its entry count.
inline constexpr std::size_t kExifPointerAt = 6 + 8 + 2 + 8;
inline constexpr std::size_t kExifEntryCountAt = 6 + 26;

inline void PutBigEndian(std::string& bytes, std::size_t at, std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i, value >>= 8) {
    bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
  }
}

inline std::string BigEndian(std::uint32_t value, int count) {
  std::string bytes(static_cast<std::size_t>(count), '\0');
  PutBigEndian(bytes, 0, value, count);
  return bytes;
}

/// An EXIF block as a camera writes it into a JPEG: "Exif\0\0", a big-endian TIFF header, IFD0
/// with just the pointer to the EXIF IFD, and that IFD with the given ASCII entries (tag, text
/// without its NUL), in order.
inline std::string ExifBlock(const std::vector<std::pair<std::uint16_t, std::string>>& entries) {
  std::string tiff = std::string("MM\0\x2A", 4) + BigEndian(8, 4);
  // IFD0: one LONG entry, the EXIF IFD's offset (26), and no next IFD.
  tiff += BigEndian(1, 2) + BigEndian(0x8769, 2) + BigEndian(4, 2) + BigEndian(1, 4) + BigEndian(26, 4);
  tiff += BigEndian(0, 4);
  std::string data;
  const auto dataStart = static_cast<std::uint32_t>(26 + 2 + 12 * entries.size() + 4);
  tiff += BigEndian(static_cast<std::uint32_t>(entries.size()), 2);
  for (const auto& [tag, text] : entries) {
    const auto count = static_cast<std::uint32_t>(text.size() + 1);
    tiff += BigEndian(tag, 2) + BigEndian(2, 2) + BigEndian(count, 4);
    if (count <= 4) {
      tiff += text + std::string(4 - text.size(), '\0');
    } else {
      tiff += BigEndian(dataStart + static_cast<std::uint32_t>(data.size()), 4);
      data += text + '\0';
    }
  }
  tiff += BigEndian(0, 4) + data;
  return std::string("Exif\0\0", 6) + tiff;
}

/// One JPEG segment: marker, length, payload.
inline std::string Segment(std::uint8_t marker, std::string_view payload) {
  return std::string{'\xFF', static_cast<char>(marker)} + BigEndian(static_cast<std::uint32_t>(payload.size() + 2), 2) +
         std::string(payload);
}

/// A small JPEG as cameras lay it out: start of image, a JFIF APP0, an XMP APP1, the EXIF APP1
/// (left out when `exif` is empty), a quantisation table, start of scan, scan data, end of image.
inline std::string Jpeg(std::string_view exif) {
  std::string jpeg("\xFF\xD8", 2);
  jpeg += Segment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
  jpeg += Segment(0xE1, "http://ns.adobe.com/xap/1.0/\0<x/>");
  if (!exif.empty()) jpeg += Segment(0xE1, exif);
  jpeg += Segment(0xDB, std::string(65, '\x01'));
  jpeg += Segment(0xDA, std::string(10, '\0')) + std::string(100, '\x55') + "\xFF\xD9";
  return jpeg;
}

}  // namespace nomvarix::test
