// libFuzzer target for the audio reader: any bytes as a sound file, under each name extension
// that steers TagLib to another format first (the first byte picks it).
//
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/fuzz/fuzz/audio_metadata_fuzz -max_total_time=600 -max_len=200000
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "fuzz/MemoryFile.h"
#include "transform/AudioMetadata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  constexpr const char16_t* kNames[] = {u"a.mp3", u"a.flac", u"a.ogg", u"a.opus", u"a.m4a", u"a.mov",
                                        u"a.wma", u"a.wav",  u"a.aif", u"a.ape",  u"a.bin"};
  const nomvarix::MemoryFile file(data + 1, size - 1);
  nomvarix::ReadAudioMetadata(file, kNames[data[0] % std::size(kNames)]);
  return 0;
}
