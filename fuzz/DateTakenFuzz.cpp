// libFuzzer target for the date-taken reader: any bytes as a file's contents, their EXIF block
// found and parsed; and the same bytes as an EXIF block of their own.
//
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/fuzz/fuzz/date_taken_fuzz -max_total_time=600 -max_len=70000
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "transform/DateTaken.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  const auto block = nomvarix::ExifBlockOfFile(
      file.size(), [&](std::uint64_t offset, std::size_t count) -> std::optional<std::string> {
        return file.substr(static_cast<std::size_t>(std::min<std::uint64_t>(offset, file.size())), count);
      });
  if (block) nomvarix::DateTakenOfExif(*block);
  nomvarix::DateTakenOfExif(file);
  return 0;
}
