// libFuzzer target for the photo reader: any bytes as a photo file of any format exiv2 knows.
//
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/fuzz/fuzz/photo_metadata_fuzz -max_total_time=600 -max_len=200000
#include <cstddef>
#include <cstdint>

#include "fuzz/MemoryFile.h"
#include "transform/PhotoMetadata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const nomvarix::MemoryFile file(data, size);
  nomvarix::ReadPhotoMetadata(file);
  return 0;
}
