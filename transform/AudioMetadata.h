#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace nomvarix {

/// What a sound (or MP4/MOV video) file's tags and stream say. Texts are empty when absent,
/// numbers empty when absent or zero (the tag formats write 0 for "none").
struct AudioMetadata {
  std::u16string artist;
  std::u16string albumArtist;
  std::u16string album;
  std::u16string title;
  std::u16string genre;
  std::optional<std::uint32_t> track;
  std::optional<std::uint32_t> trackTotal;
  std::optional<std::uint32_t> disc;
  std::optional<std::uint32_t> year;
  std::optional<std::chrono::seconds> duration;
};

/// The tags of the sound or video `file` holds (MP3, FLAC, Ogg, Opus, MP4/M4A/MOV, WMA, WAV,
/// AIFF, ...). `name` is the file's name, whose extension is a hint; the content decides. The
/// duration is read from the stream headers only, never by scanning the whole file. Empty when the
/// file is none of these or too damaged to read; never throws.
std::optional<AudioMetadata> ReadAudioMetadata(const ReadableFile& file, std::u16string_view name);

/// The tags of the file at `path`, opened through the file-system port (regular files only).
std::optional<AudioMetadata> GetAudioMetadata(const FileSystem& fileSystem, std::u16string_view path);

}  // namespace nomvarix
