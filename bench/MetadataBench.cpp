// The metadata readers over warm files, as Insert from Metadata and Sort by Date Taken read them:
// the date taken of 10,000 JPEGs (an EXIF segment as cameras write it, then 1 MB of scan data) and
// the tags of 1,000 MP3s (an ID3v2.3 tag, then 1 MB of frames), all read on every processor with
// ReadInParallel. The time shown is per file; the goal is at most 1 ms on two processors.
//
//   build/release/bench/metadata_bench [--benchmark_repetitions=3]
//
// The files are made under the system's temporary folder and removed at the end.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/FileSystem.h"
#include "text/Utf16.h"
#include "transform/AudioMetadata.h"
#include "transform/DateTaken.h"
#include "transform/ParallelFileReads.h"

namespace {

std::string BigEndian(std::uint32_t value, int bytes) {
  std::string text;
  for (int i = bytes - 1; i >= 0; --i) text.push_back(static_cast<char>(value >> (8 * i)));
  return text;
}

/// A JPEG whose EXIF IFD holds DateTimeOriginal, followed by 1 MB of scan data.
std::string Jpeg() {
  const std::string date = "2019:07:14 16:05:09";
  std::string tiff = "MM" + BigEndian(42, 2) + BigEndian(8, 4);
  tiff += BigEndian(1, 2) + BigEndian(0x8769, 2) + BigEndian(4, 2) + BigEndian(1, 4) + BigEndian(26, 4) + BigEndian(0, 4);
  tiff += BigEndian(1, 2) + BigEndian(0x9003, 2) + BigEndian(2, 2) + BigEndian(20, 4) + BigEndian(44, 4) + BigEndian(0, 4);
  tiff += date + '\0';
  const std::string exif = std::string("Exif\0\0", 6) + tiff;
  return std::string("\xFF\xD8\xFF\xE1", 4) + BigEndian(static_cast<std::uint32_t>(exif.size() + 2), 2) + exif +
         "\xFF\xDA" + BigEndian(2, 2) + std::string(1u << 20, 's') + "\xFF\xD9";
}

/// An MP3: an ID3v2.3 tag with artist, title and track, then 1 MB of silent frames.
std::string Mp3() {
  std::string frames;
  for (const auto& [id, text] : {std::pair{"TPE1", "Sigur Rós"}, std::pair{"TIT2", "Intro"}, std::pair{"TRCK", "3/12"}}) {
    const std::string body = std::string(1, '\x03') + text;  // UTF-8
    frames += id + BigEndian(static_cast<std::uint32_t>(body.size()), 4) + std::string(2, '\0') + body;
  }
  const auto size = static_cast<std::uint32_t>(frames.size());
  std::string tag = std::string("ID3\x03\x00\x00", 6);
  for (int shift = 21; shift >= 0; shift -= 7) tag.push_back(static_cast<char>((size >> shift) & 0x7F));
  std::string frame("\xFF\xFB\x90\x64", 4);
  frame.resize(417, '\0');
  std::string sound = tag + frames;
  while (sound.size() < (1u << 20)) sound += frame;
  return sound;
}

/// `count` copies of a file in a folder of their own, removed at the end.
class Files {
 public:
  Files(int count, const std::string& bytes, const char* extension) {
    std::filesystem::create_directories(folder_);
    for (int i = 0; i < count; ++i) {
      const std::filesystem::path path = folder_ / ("f" + std::to_string(i) + extension);
      std::ofstream(path, std::ios::binary) << bytes;
      paths_.push_back(nomvarix::FromUtf8(path.string()));
    }
  }
  ~Files() { std::filesystem::remove_all(folder_); }
  const std::vector<std::u16string>& Paths() const { return paths_; }

 private:
  std::filesystem::path folder_ = std::filesystem::temp_directory_path() / ("nomvarix-bench-" + std::to_string(getpid()));
  std::vector<std::u16string> paths_;
};

/// Reads every file with `read` on all processors, once to warm the cache and then per iteration;
/// fails unless every file gives a value.
template <typename Read>
void ReadAll(benchmark::State& state, const Files& files, Read read) {
  const std::vector<std::u16string>& paths = files.Paths();
  std::atomic<std::size_t> found = 0;
  const auto once = [&] {
    nomvarix::ReadInParallel(paths.size(), [&](std::size_t i) { found += read(paths[i]) ? 1 : 0; }, nomvarix::NoProgress());
  };
  once();
  if (found != paths.size()) {
    state.SkipWithError("a file gave no value");
    return;
  }
  for (auto _ : state) once();
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * paths.size()));
  state.counters["ms_per_file"] =
      benchmark::Counter(static_cast<double>(state.iterations() * paths.size()) / 1000,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DateTakenOf10000Jpegs(benchmark::State& state) {
  const Files files(10000, Jpeg(), ".jpg");
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  ReadAll(state, files, [&](const std::u16string& path) { return nomvarix::GetDateTaken(*fileSystem, path); });
}
BENCHMARK(BM_DateTakenOf10000Jpegs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_TagsOf1000Mp3s(benchmark::State& state) {
  const Files files(1000, Mp3(), ".mp3");
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  ReadAll(state, files, [&](const std::u16string& path) {
    const auto audio = nomvarix::GetAudioMetadata(*fileSystem, path);
    return audio && audio->track == 3u && audio->title == u"Intro";
  });
}
BENCHMARK(BM_TagsOf1000Mp3s)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
