// What kept edits cost a folder while other folders hold many: opening a folder of two files, and
// keeping one edit of it. Neither may grow with the other folders' edits (compare the argument 0
// with the others); figures are read, never asserted. BM_KeepAFewEditsOfEveryLine: a folder whose
// every line is edited (a column typed into), then a few edits and a write per iteration, with the
// program's memory afterwards and at its peak, and the size of the kept file.
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "BenchFolders.h"

#include "apply/KeptEdits.h"
#include "apply/SavedEdits.h"
#include "platform/FileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr int kFoldersOfOthers = 100;

/// A state folder whose kept edits hold `otherEdits` edits spread over other folders, and a folder
/// of two files whose own edits are kept too. Removed at the end.
class KeptState {
 public:
  explicit KeptState(int otherEdits) {
    root_ = std::filesystem::temp_directory_path() / ("nomvarix-kept-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "two");
    for (const char* name : {"a.jpg", "b.jpg"}) std::ofstream(root_ / "two" / name) << name;
    const std::filesystem::path kept = root_ / "state" / std::string(ToUtf8(kKeptEditsFolderName));
    std::filesystem::create_directories(kept);
    const FileStamp stamp{{1, 2}, {3, 4, 5}};
    for (int f = 0; f < kFoldersOfOthers && otherEdits > 0; ++f) {
      const std::u16string folder = u"/elsewhere/Bilder " + FromUtf8(std::to_string(f)) + u"/";
      FolderEdits edits;
      auto& list = edits[folder];
      for (int i = 0; i < otherEdits / kFoldersOfOthers; ++i) {
        const std::u16string number = FromUtf8(std::to_string(i));
        list.push_back({u"IMG_" + number + u".jpg", u"Urlaub Strand " + number + u".jpg", stamp});
      }
      std::ofstream(kept / ToUtf8(KeptEditsFileName(folder))) << WriteSavedEdits(edits);
    }
  }
  ~KeptState() { std::filesystem::remove_all(root_); }
  std::u16string State() const { return FromUtf8((root_ / "state").string() + "/"); }
  std::u16string Folder() const { return FromUtf8((root_ / "two").string() + "/"); }

 private:
  std::filesystem::path root_;
};

void BM_OpenFolderWhileOthersKeepEdits(benchmark::State& state) {
  const KeptState kept(static_cast<int>(state.range(0)));
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  MemorySettingsStore settings;
  {
    EditorSession first(*fileSystem, settings);
    first.SetKeptEditsFolder(kept.State());
    first.SwitchToFolder(kept.Folder());
    first.Editor().SetNewName(0, u"Strand 😀.jpg");
    first.WriteKeptEdits();
  }
  for (auto _ : state) {
    EditorSession session(*fileSystem, settings);
    session.SetKeptEditsFolder(kept.State());
    session.SwitchToFolder(kept.Folder());
    benchmark::DoNotOptimize(session.Editor().AnyNameChanged());
  }
  state.SetLabel("goal: at most 50 ms above the figure for 0");
}

void BM_KeepOneEditWhileOthersKeepEdits(benchmark::State& state) {
  const KeptState kept(static_cast<int>(state.range(0)));
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  MemorySettingsStore settings;
  EditorSession session(*fileSystem, settings);
  session.SetKeptEditsFolder(kept.State());
  session.SwitchToFolder(kept.Folder());
  int i = 0;
  for (auto _ : state) {
    session.Editor().SetNewName(0, u"Strand " + FromUtf8(std::to_string(++i)) + u".jpg");
    benchmark::DoNotOptimize(session.WriteKeptEdits());
  }
  state.SetLabel("goal: the same for every argument");
}

double ResidentMegabytes() {
  long pages = 0;
  std::ifstream("/proc/self/statm") >> pages >> pages;
  return static_cast<double>(pages) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1e3;
}

void BM_KeepAFewEditsOfEveryLine(benchmark::State& state) {
  const std::u16string folder = FromUtf8(bench::BenchFolders::Get().Folder(static_cast<int>(state.range(0))));
  const KeptState kept(0);
  const std::unique_ptr<FileSystem> fileSystem = MakeNativeFileSystem();
  MemorySettingsStore settings;
  EditorSession session(*fileSystem, settings);
  session.SetKeptEditsFolder(kept.State());
  session.SwitchToFolder(folder);
  NameEditor& editor = session.Editor();
  const double loaded = ResidentMegabytes();
  for (std::size_t line = 0; line < editor.LineCount(); ++line) {
    editor.SetNewName(line, u"\u00E9t\u00E9 " + editor.Names()[line].originalName);
  }
  session.WriteKeptEdits();
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> anyLine(0, editor.LineCount() - 1);
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (int i = 0; i < 5; ++i) {
      const std::size_t line = anyLine(random);
      editor.SetNewName(line, FromUtf8(std::to_string(round)) + u" " + editor.Names()[line].originalName);
    }
    benchmark::DoNotOptimize(session.WriteKeptEdits());
  }
  state.counters["loaded MB"] = loaded;
  state.counters["after MB"] = ResidentMegabytes();
  state.counters["peak MB"] = PeakMegabytes();
  std::error_code ignored;
  state.counters["file MB"] =
      static_cast<double>(std::filesystem::file_size(std::filesystem::path(ToUtf8(kept.State() + std::u16string(kKeptEditsFolderName))) /
                                                     ToUtf8(KeptEditsFileName(folder)), ignored)) / 1e6;
}

BENCHMARK(BM_OpenFolderWhileOthersKeepEdits)->Arg(0)->Arg(200000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeepOneEditWhileOthersKeepEdits)->Arg(0)->Arg(200000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeepAFewEditsOfEveryLine)->Arg(100000)->Arg(1000000)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nomvarix

BENCHMARK_MAIN();
