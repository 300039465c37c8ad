// libFuzzer target for the image header reader: any bytes as a file's contents.
//
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/fuzz/fuzz/image_size_fuzz -max_total_time=600 -max_len=4096
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "transform/ImageSize.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  nomvarix::ImageSizeOfFile(file.size(), [&](std::uint64_t offset, std::size_t count) -> std::optional<std::string> {
    return file.substr(static_cast<std::size_t>(std::min<std::uint64_t>(offset, file.size())), count);
  });
  return 0;
}
