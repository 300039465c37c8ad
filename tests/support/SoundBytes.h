#pragma once

#include <cstdint>
#include <string>

namespace nomvarix::test {

/// The bare frames of sound files, with no tags and no sound in them: just enough for TagLib to
/// open them and add its tags. Numbers are little-endian unless the name says otherwise.
namespace sound_bytes {

inline std::string Le(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
  return out;
}

inline std::string Be(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>(value >> (8 * i)));
  return out;
}

/// One Ogg page holding one whole packet (under 255 bytes); the CRC is left 0, as readers skip it.
inline std::string OggPage(std::uint32_t sequence, char flags, std::uint64_t granule, const std::string& packet) {
  return "OggS" + std::string(1, '\0') + std::string(1, flags) + Le(granule, 8) + Le(1, 4) + Le(sequence, 4) +
         Le(0, 4) + std::string(1, '\1') + std::string(1, static_cast<char>(packet.size())) + packet;
}

}  // namespace sound_bytes

/// FLAC: the marker and a STREAMINFO block (44.1 kHz, mono, 16 bits), marked last.
inline std::string BareFlac() {
  using namespace sound_bytes;
  // Block sizes, frame sizes, then 20 bits of rate, 3 of channels - 1, 5 of bits - 1, 36 of samples.
  const std::string info = Be(4096, 2) + Be(4096, 2) + Be(0, 3) + Be(0, 3) +
                           Be((std::uint64_t{44100} << 44) | (std::uint64_t{15} << 36), 8) + std::string(16, '\0');
  return "fLaC" + std::string(1, '\x80') + Be(info.size(), 3) + info;
}

/// Ogg Vorbis: the identification and comment packets (44.1 kHz, mono), then an empty last page.
inline std::string BareOggVorbis() {
  using namespace sound_bytes;
  const std::string id = "\x01vorbis" + Le(0, 4) + std::string(1, '\1') + Le(44100, 4) + Le(0, 4) + Le(64000, 4) +
                         Le(0, 4) + std::string("\xB8\x01", 2);
  const std::string comment = "\x03vorbis" + Le(0, 4) + Le(0, 4) + std::string(1, '\1');
  return OggPage(0, '\2', 0, id) + OggPage(1, '\0', 0, comment) + OggPage(2, '\4', 44100, "");
}

/// Opus: the OpusHead and OpusTags packets (mono, 48 kHz), then an empty last page.
inline std::string BareOpus() {
  using namespace sound_bytes;
  const std::string head = "OpusHead" + std::string(1, '\1') + std::string(1, '\1') + Le(312, 2) + Le(48000, 4) +
                           Le(0, 2) + std::string(1, '\0');
  const std::string tags = "OpusTags" + Le(0, 4) + Le(0, 4);
  return OggPage(0, '\2', 0, head) + OggPage(1, '\0', 0, tags) + OggPage(2, '\4', 48000, "");
}

/// AIFF: a FORM of one COMM chunk (mono, no frames, 16 bits, 44.1 kHz as an 80-bit float).
inline std::string BareAiff() {
  using namespace sound_bytes;
  const std::string comm = "COMM" + Be(18, 4) + Be(1, 2) + Be(0, 4) + Be(16, 2) + std::string("\x40\x0E\xAC\x44", 4) +
                           std::string(6, '\0');
  return "FORM" + Be(4 + comm.size(), 4) + "AIFF" + comm;
}

/// MP4 audio: an ftyp box and an empty moov box.
inline std::string BareM4a() {
  using namespace sound_bytes;
  return Be(20, 4) + "ftypM4A " + Be(0, 4) + "M4A " + Be(8, 4) + "moov";
}

/// ASF (WMA): the header object holding empty file and stream properties objects.
inline std::string BareWma() {
  using namespace sound_bytes;
  const std::string header("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
  const std::string fileProperties("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", 16);
  const std::string streamProperties("\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65", 16);
  const std::string objects = fileProperties + Le(24, 8) + streamProperties + Le(24, 8);
  return header + Le(30 + objects.size(), 8) + Le(2, 4) + std::string("\x01\x02", 2) + objects;
}

}  // namespace nomvarix::test
