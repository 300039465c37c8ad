// LoadFolder on folders of 10,000 and 100,000 files with names of 20 to 40 characters, beside the
// plainest way to list and sort the same folder: readdir + sort of the byte names, and the same
// with each name converted to UTF-16 first. BM_LoadFolder loads again into the same editor (as
// Reload and the sort commands do); BM_LoadFolderIntoEmptyEditor is a first load. BM_SortNames
// sorts 100,000 camera-like names alone, with numbers by value (argument 1) or not (0).
// BM_ValidateEveryLine validates a loaded folder whose every line has a new name.
//
//   build/release/bench/load_folder_bench [--benchmark_repetitions=5]
//
// The folders are made once under $TMPDIR (default /tmp) and removed at the end.
#include <dirent.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchFolders.h"
#include "BenchMain.h"
#include "apply/Validation.h"
#include "editor/NameEditor.h"
#include "editor/NameSort.h"
#include "platform/FileSystem.h"
#include "text/Utf16.h"

namespace {

using nomvarix::bench::BenchFolders;

BenchFolders& Folders() { return BenchFolders::Get(); }

void BM_LoadFolder(benchmark::State& state) {
  const std::string folder = Folders().Folder(static_cast<int>(state.range(0)));
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  const std::u16string path = nomvarix::FromUtf8(folder);
  nomvarix::NameEditor editor;
  editor.SetMetrics(nomvarix::ViewMetrics{.charWidth = 12});
  for (auto _ : state) {
    editor.LoadFolder(*fileSystem, path, nomvarix::SortOrder{true, true});
    benchmark::DoNotOptimize(editor.Names().data());
  }
  state.counters["lines"] = static_cast<double>(editor.LineCount());
}

/// The first load of a folder, into a new editor. Destroying the editor, which the program does
/// only at exit, is left out of the time.
void BM_LoadFolderIntoEmptyEditor(benchmark::State& state) {
  const std::string folder = Folders().Folder(static_cast<int>(state.range(0)));
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  const std::u16string path = nomvarix::FromUtf8(folder);
  std::unique_ptr<nomvarix::NameEditor> editor;
  for (auto _ : state) {
    state.PauseTiming();
    editor = std::make_unique<nomvarix::NameEditor>();
    editor->SetMetrics(nomvarix::ViewMetrics{.charWidth = 12});
    state.ResumeTiming();
    editor->LoadFolder(*fileSystem, path, nomvarix::SortOrder{true, true});
    benchmark::DoNotOptimize(editor->Names().data());
  }
}

void BM_SortNames(benchmark::State& state) {
  std::vector<std::u16string> names;
  std::mt19937 random(7);
  for (int i = 0; i < 100'000; ++i) {
    const std::string name = "IMG_" + std::to_string(random() % 100'000) + " (" + std::to_string(i % 37) + ").JPG";
    names.push_back(nomvarix::FromUtf8(name));
  }
  const nomvarix::SortOrder order{true, false, state.range(0) != 0};
  for (auto _ : state) {
    std::vector<std::u16string_view> views(names.begin(), names.end());
    nomvarix::SortNames(views, order);
    benchmark::DoNotOptimize(views.data());
  }
}

template <typename Name, typename Convert>
void ReaddirSort(benchmark::State& state, Convert convert) {
  const std::string folder = Folders().Folder(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<Name> names;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* entry = readdir(dir)) {
      if (entry->d_type == DT_REG) names.push_back(convert(entry->d_name));
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    benchmark::DoNotOptimize(names.data());
  }
}

void BM_ReaddirSort(benchmark::State& state) {
  ReaddirSort<std::string>(state, [](const char* name) { return std::string(name); });
}

void BM_ReaddirSortUtf16(benchmark::State& state) {
  ReaddirSort<std::u16string>(state, [](const char* name) { return nomvarix::FromUtf8(name); });
}

void BM_ValidateEveryLine(benchmark::State& state) {
  const std::string folder = Folders().Folder(static_cast<int>(state.range(0)));
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  nomvarix::NameEditor editor;
  editor.LoadFolder(*fileSystem, nomvarix::FromUtf8(folder), nomvarix::SortOrder{true, true});
  for (std::size_t line = 0; line < editor.LineCount(); ++line) {
    editor.SetNewName(line, u"\u00E9t\u00E9 " + editor.Names()[line].originalName);
  }
  for (auto _ : state) benchmark::DoNotOptimize(nomvarix::FindProblems(editor, *fileSystem).size());
  state.counters["lines"] = static_cast<double>(editor.LineCount());
}

BENCHMARK(BM_ReaddirSort)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReaddirSortUtf16)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFolder)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFolderIntoEmptyEditor)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortNames)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValidateEveryLine)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

NOMVARIX_BENCHMARK_MAIN()
