#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/ExifBytes.h"

namespace nomvarix::test {

/// A HEIC file reduced to what metadata readers look at: the ftyp box; a meta box whose item
/// list holds the picture and an "Exif" item, and whose item locations point at the latter; the
/// mdat box with that item (the 4-byte offset of the TIFF header, then the TIFF data of
/// `exifBlock`, an ExifBlock with or without its "Exif\0\0"). The picture itself is left out.
inline std::string Heic(std::string_view exifBlock) {
  if (exifBlock.starts_with(std::string_view("Exif\0\0", 6))) exifBlock.remove_prefix(6);
  const auto box = [](const char* type, const std::string& payload) {
    return BigEndian(static_cast<std::uint32_t>(8 + payload.size()), 4) + type + payload;
  };
  const auto fullBox = [&](const char* type, char version, const std::string& payload) {
    return box(type, std::string{version, '\0', '\0', '\0'} + payload);
  };
  const std::string ftyp = box("ftyp", std::string("heic") + BigEndian(0, 4) + "mif1heic");
  const std::string item = BigEndian(0, 4) + std::string(exifBlock);
  const auto meta = [&](std::uint32_t itemAt) {
    return fullBox("meta", 0,
                   fullBox("hdlr", 0, BigEndian(0, 4) + "pict" + std::string(13, '\0')) +
                       fullBox("pitm", 0, BigEndian(1, 2)) +
                       fullBox("iinf", 0,
                               BigEndian(2, 2) + fullBox("infe", 2, BigEndian(1, 2) + BigEndian(0, 2) + "hvc1" + '\0') +
                                   fullBox("infe", 2, BigEndian(2, 2) + BigEndian(0, 2) + "Exif" + '\0')) +
                       // Offsets and lengths of 4 bytes, no base offset; one item of one extent.
                       fullBox("iloc", 0,
                               std::string("\x44\x00", 2) + BigEndian(1, 2) + BigEndian(2, 2) + BigEndian(0, 2) +
                                   BigEndian(1, 2) + BigEndian(itemAt, 4) +
                                   BigEndian(static_cast<std::uint32_t>(item.size()), 4)));
  };
  const auto itemAt = static_cast<std::uint32_t>(ftyp.size() + meta(0).size() + 8);
  return ftyp + meta(itemAt) + box("mdat", item);
}

}  // namespace nomvarix::test
