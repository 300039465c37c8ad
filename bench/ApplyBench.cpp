// Renaming 10,000 files of one folder (no conflicts) three ways, in the same run and on the same
// files: a bare loop of renameat2(RENAME_NOREPLACE) calls; RenameFiles through the platform's file
// system (an existence query and a non-replacing rename per file); and the whole "Apply Changes"
// of the editor session without verifying (the renames, then the folder loaded again).
// Each iteration renames every file, alternately to its "b" name and back.
// Then a shift by one of 10,000 numbered files (each takes the name of the next, the last a free
// one), as RenameFiles orders it from the free end of the chain, against the bare loop of the same
// renames in that order.
//
//   build/release/bench/apply_bench [--benchmark_repetitions=5]
//
// The folder is made under $TMPDIR (default /tmp) and removed at the end.
#include <fcntl.h>
#include <stdio.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "apply/RenameBatch.h"
#include "platform/FileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "text/Utf16.h"

namespace {

constexpr int kFiles = 10000;

std::string NameOf(int i, char side) { return "photo_" + std::to_string(100000 + i) + "_" + side + ".jpg"; }

/// One folder of kFiles files, named with "a"; removed when the program ends.
class ApplyFolder {
 public:
  ApplyFolder() {
    const char* tmp = std::getenv("TMPDIR");
    path_ = std::filesystem::path(tmp && *tmp ? tmp : "/tmp") / ("nomvarix-apply-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(path_);
    for (int i = 0; i < kFiles; ++i) std::ofstream(path_ / NameOf(i, 'a'));
  }
  ~ApplyFolder() { std::filesystem::remove_all(path_); }
  std::string Path() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

ApplyFolder& Folder() {
  static ApplyFolder folder;
  return folder;
}

char From(int iteration) { return iteration % 2 == 0 ? 'a' : 'b'; }
char To(int iteration) { return iteration % 2 == 0 ? 'b' : 'a'; }

void BM_BareRenameLoop(benchmark::State& state) {
  const std::string folder = Folder().Path();
  int iteration = 0;
  for (auto _ : state) {
    for (int i = 0; i < kFiles; ++i) {
      const std::string from = folder + NameOf(i, From(iteration));
      const std::string to = folder + NameOf(i, To(iteration));
      if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) state.SkipWithError("rename");
    }
    ++iteration;
  }
  if (iteration % 2 == 1) state.SkipWithError("left renamed: run with an even iteration count");
  state.counters["renames/s"] = benchmark::Counter(static_cast<double>(kFiles) * iteration, benchmark::Counter::kIsRate);
}

nomvarix::NameList Lines(int iteration) {
  nomvarix::NameList lines(kFiles);
  for (int i = 0; i < kFiles; ++i) {
    lines[i].originalName = nomvarix::FromUtf8(NameOf(i, From(iteration)));
    lines[i].newName = nomvarix::FromUtf8(NameOf(i, To(iteration)));
  }
  return lines;
}

void BM_RenameFiles(benchmark::State& state) {
  state.SetLabel("goal <= 1.3x BM_BareRenameLoop");
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  const std::u16string folder = nomvarix::FromUtf8(Folder().Path());
  const nomvarix::NameList forth = Lines(0);
  const nomvarix::NameList back = Lines(1);
  int iteration = 0;
  for (auto _ : state) {
    const auto result = nomvarix::RenameFiles(iteration % 2 == 0 ? forth : back, folder, *fileSystem, false);
    if (result.SkippedCount() != 0) state.SkipWithError("skipped");
    ++iteration;
  }
  state.counters["renames/s"] = benchmark::Counter(static_cast<double>(kFiles) * iteration, benchmark::Counter::kIsRate);
}

void BM_SessionApplyChanges(benchmark::State& state) {
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  nomvarix::MemorySettingsStore settings;
  nomvarix::EditorSession session(*fileSystem, settings);
  const std::u16string folder = nomvarix::FromUtf8(Folder().Path());
  session.LoadFolder(folder);
  int iteration = 0;
  for (auto _ : state) {
    state.PauseTiming();
    nomvarix::NameEditor& editor = session.Editor();
    for (std::size_t line = 0; line < editor.LineCount(); ++line) {
      std::u16string name = editor.Names()[line].originalName;
      name[name.size() - 5] = static_cast<char16_t>(To(iteration));
      editor.SetNewName(line, std::move(name));
    }
    state.ResumeTiming();
    const auto outcome = session.ApplyChanges(false, false);
    if (outcome.skipped != 0) state.SkipWithError("skipped");
    ++iteration;
  }
  state.counters["renames/s"] = benchmark::Counter(static_cast<double>(kFiles) * iteration, benchmark::Counter::kIsRate);
}

std::string ShiftName(int n) { return "shift_" + std::to_string(100000 + n) + ".jpg"; }

/// One folder of kFiles files numbered from 1; removed when the program ends.
class ShiftFolder {
 public:
  ShiftFolder() {
    const char* tmp = std::getenv("TMPDIR");
    path_ = std::filesystem::path(tmp && *tmp ? tmp : "/tmp") / ("nomvarix-shift-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(path_);
    for (int i = 1; i <= kFiles; ++i) std::ofstream(path_ / ShiftName(i));
  }
  ~ShiftFolder() { std::filesystem::remove_all(path_); }
  std::string Path() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

ShiftFolder& Shift() {
  static ShiftFolder folder;
  return folder;
}

/// Even iterations move every file up by one, odd ones back down.
int Step(int iteration) { return iteration % 2 == 0 ? 1 : -1; }

void BM_BareShiftLoop(benchmark::State& state) {
  const std::string folder = Shift().Path();
  int iteration = 0;
  for (auto _ : state) {
    const int step = Step(iteration);
    // From the free end: upwards the last file first, downwards the first.
    for (int k = 0; k < kFiles; ++k) {
      const int i = step > 0 ? kFiles - k : 2 + k;
      const std::string from = folder + ShiftName(i);
      const std::string to = folder + ShiftName(i + step);
      if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) state.SkipWithError("rename");
    }
    ++iteration;
  }
  state.counters["renames/s"] = benchmark::Counter(static_cast<double>(kFiles) * iteration, benchmark::Counter::kIsRate);
}

void BM_ShiftByOne(benchmark::State& state) {
  state.SetLabel("goal <= 1.3x BM_BareShiftLoop");
  const auto fileSystem = nomvarix::MakeNativeFileSystem();
  const std::u16string folder = nomvarix::FromUtf8(Shift().Path());
  nomvarix::NameList up(kFiles);
  nomvarix::NameList down(kFiles);
  for (int i = 1; i <= kFiles; ++i) {
    // In list order: every target but the last is held by the next line's file.
    up[i - 1].originalName = nomvarix::FromUtf8(ShiftName(i));
    up[i - 1].newName = nomvarix::FromUtf8(ShiftName(i + 1));
    down[i - 1].originalName = up[i - 1].newName;
    down[i - 1].newName = up[i - 1].originalName;
  }
  int iteration = 0;
  for (auto _ : state) {
    const auto result = nomvarix::RenameFiles(Step(iteration) > 0 ? up : down, folder, *fileSystem, false);
    if (result.SkippedCount() != 0) state.SkipWithError("skipped");
    ++iteration;
  }
  state.counters["renames/s"] = benchmark::Counter(static_cast<double>(kFiles) * iteration, benchmark::Counter::kIsRate);
}

// An even number of iterations leaves the files as they were for the next benchmark.
BENCHMARK(BM_BareRenameLoop)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenameFiles)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionApplyChanges)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareShiftLoop)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftByOne)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
