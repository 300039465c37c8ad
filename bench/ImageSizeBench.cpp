// The image size of one 3 MB JPEG (a 64 KB metadata segment, tables, the frame header, then the
// scan data), read through the platform's file system with the file in the page cache, as the
// "Insert Image Size" commands read it once per selected line.
//
//   build/release/bench/image_size_bench [--benchmark_repetitions=5]
//
// The file is made under $TMPDIR (default /tmp) and removed at the end.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/FileSystem.h"
#include "text/Utf16.h"
#include "transform/ImageSize.h"

namespace {

/// A marker segment: the marker, its big-endian length (which counts itself) and its body.
std::string Segment(unsigned marker, const std::string& body) {
  const std::size_t length = body.size() + 2;
  return std::string{static_cast<char>(0xFF), static_cast<char>(marker), static_cast<char>(length >> 8),
                     static_cast<char>(length & 0xFF)} +
         body;
}

std::string Jpeg3Mb() {
  std::string data("\xFF\xD8", 2);
  for (const auto& [marker, size] : {std::pair{0xE0u, 14u}, std::pair{0xE1u, 65000u}, std::pair{0xDBu, 130u}}) {
    data += Segment(marker, std::string(size, 'm'));
  }
  // Baseline frame: precision 8, height 3000, width 4000, three components.
  data += Segment(0xC0, std::string("\x08\x0B\xB8\x0F\xA0\x03", 6) + std::string(9, '\x11'));
  data += std::string(3u << 20, 's') + "\xFF\xD9";
  return data;
}

class JpegFile {
 public:
  JpegFile() { std::ofstream(path_, std::ios::binary) << Jpeg3Mb(); }
  ~JpegFile() { std::filesystem::remove(path_); }
  std::u16string Path() const { return nomvarix::FromUtf8(path_.string()); }

 private:
  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() / ("nomvarix-bench-" + std::to_string(getpid()) + ".jpg");
};

void BM_ImageSizeOfA3MbJpeg(benchmark::State& state) {
  const JpegFile file;
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  const std::u16string path = file.Path();
  if (nomvarix::GetImageSize(*fileSystem, path) != nomvarix::ImageSize{4000, 3000}) {
    state.SkipWithError("the JPEG was not measured as 4000 x 3000");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(nomvarix::GetImageSize(*fileSystem, path));
}
BENCHMARK(BM_ImageSizeOfA3MbJpeg)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
