// The image size of 3 MB JPEGs (a 64 KB metadata segment, tables, the frame header, then the scan
// data), read through the platform's file system with the files in the page cache, as the
// "Insert Image Size" commands read them once per selected line: one file again and again, and
// 200 files in turn (the time shown is per file; the goal is at most 2 ms).
//
//   build/release/bench/image_size_bench [--benchmark_repetitions=5]
//
// The files are made under the system's temporary folder and removed at the end.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

/// `count` copies of the JPEG in a folder of their own, removed at the end.
class JpegFiles {
 public:
  explicit JpegFiles(int count) {
    std::filesystem::create_directories(folder_);
    const std::string jpeg = Jpeg3Mb();
    for (int i = 0; i < count; ++i) {
      const std::filesystem::path path = folder_ / ("photo" + std::to_string(i) + ".jpg");
      std::ofstream(path, std::ios::binary) << jpeg;
      paths_.push_back(nomvarix::FromUtf8(path.string()));
    }
  }
  ~JpegFiles() { std::filesystem::remove_all(folder_); }
  const std::vector<std::u16string>& Paths() const { return paths_; }

 private:
  std::filesystem::path folder_ = std::filesystem::temp_directory_path() / ("nomvarix-bench-" + std::to_string(getpid()));
  std::vector<std::u16string> paths_;
};

/// Measures each file once, so that every one is in the page cache; false if one is misread.
bool MeasuredRight(const nomvarix::FileSystem& fileSystem, const std::vector<std::u16string>& paths) {
  for (const std::u16string& path : paths) {
    if (nomvarix::GetImageSize(fileSystem, path) != nomvarix::ImageSize{4000, 3000}) return false;
  }
  return true;
}

void MeasureInTurn(benchmark::State& state, int files) {
  const JpegFiles jpegs(files);
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  const std::vector<std::u16string>& paths = jpegs.Paths();
  if (!MeasuredRight(*fileSystem, paths)) {
    state.SkipWithError("a JPEG was not measured as 4000 x 3000");
    return;
  }
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(nomvarix::GetImageSize(*fileSystem, paths[next]));
    next = (next + 1) % paths.size();
  }
}

void BM_ImageSizeOfA3MbJpeg(benchmark::State& state) { MeasureInTurn(state, 1); }
BENCHMARK(BM_ImageSizeOfA3MbJpeg)->Unit(benchmark::kMicrosecond);

/// 200 files measured in turn, warm: the time shown is per file.
void BM_ImageSizeJpeg(benchmark::State& state) {
  state.SetLabel("per file; goal <= 2 ms");
  MeasureInTurn(state, 200);
}
BENCHMARK(BM_ImageSizeJpeg)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
