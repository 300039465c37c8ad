// Editing 100,000 lines of 20 to 40 characters: characters typed into a column caret over all
// lines (with their undo snapshots and conflict checks), the first one after a load on its own,
// the conflict check alone, one undo step, and
// the memory the undo history holds after 100 one-line edits and after 100 edits of every line,
// and the saving of every line's edit to the saved-edits file, as the editor does a moment after
// each burst of typing.
//
//   build/release/bench/editing_bench
#include <cstdio>
#include <filesystem>
#include <memory>

#include <benchmark/benchmark.h>

#include "BenchFolders.h"
#include "BenchMain.h"
#include "platform/FileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "text/Utf16.h"

namespace {

using namespace nomvarix;

constexpr int kLines = 100'000;

/// A session over the benchmark folder, every line laid out.
struct LoadedSession {
  LoadedSession() : fileSystem(MakeNativeFileSystem()), session(*fileSystem, settings) {
    session.Editor().SetMetrics(ViewMetrics{.lineHeight = 20, .charWidth = 12, .clientWidth = 1200, .clientHeight = 800});
    session.LoadFolder(FromUtf8(bench::BenchFolders::Get().Folder(kLines)));
  }
  NameEditor& Editor() { return session.Editor(); }
  void ColumnCaret(std::int32_t column) {
    const auto last = static_cast<std::int32_t>(Editor().LineCount()) - 1;
    Editor().SetSelection({0, last, column, column}, {last, column});
  }

  std::unique_ptr<FileSystem> fileSystem;
  MemorySettingsStore settings;
  EditorSession session;
};

std::size_t ListBytes(const NameList& names) {
  std::size_t bytes = names.capacity() * sizeof(NameEntry);
  for (const NameEntry& e : names) {
    bytes += (e.originalName.capacity() + e.lineText.capacity() + e.newName.capacity()) * sizeof(char16_t);
  }
  return bytes;
}

void BM_TypeCharIntoColumnCaret(benchmark::State& state) {
  LoadedSession loaded;
  loaded.ColumnCaret(3);
  for (auto _ : state) benchmark::DoNotOptimize(loaded.session.TypeChar(u'x'));
  state.SetLabel("goal <= 15 ms");
  state.counters["lines"] = kLines;
  state.counters["undo_MB"] = static_cast<double>(loaded.Editor().History().MemoryBytes()) / 1e6;
}

/// The first keystroke after a load: every line's buffers grow for the first time, and the
/// first snapshot copies every name.
void BM_FirstTypeCharAfterLoad(benchmark::State& state) {
  state.SetLabel("goal <= 30 ms");
  std::unique_ptr<LoadedSession> loaded;
  for (auto _ : state) {
    state.PauseTiming();
    loaded.reset();
    loaded = std::make_unique<LoadedSession>();
    loaded->ColumnCaret(3);
    state.ResumeTiming();
    benchmark::DoNotOptimize(loaded->session.TypeChar(u'x'));
  }
}

void BM_CheckConflicts(benchmark::State& state) {
  LoadedSession loaded;
  for (auto _ : state) loaded.session.CheckConflicts();
}

void BM_UndoOneStep(benchmark::State& state) {
  state.SetLabel("goal <= 15 ms");
  LoadedSession loaded;
  loaded.ColumnCaret(3);
  for (auto _ : state) {
    state.PauseTiming();
    loaded.session.TypeChar(u'x');
    state.ResumeTiming();
    loaded.session.Undo();
  }
}

/// The history after 100 edits of one line each, and after 100 edits of every line.
void BM_UndoMemory(benchmark::State& state) {
  const bool everyLine = state.range(0) != 0;
  for (auto _ : state) {
    LoadedSession loaded;
    for (int i = 0; i < 100; ++i) {
      if (everyLine) {
        loaded.ColumnCaret(2);
      } else {
        const std::int32_t line = (i * 997) % kLines;
        loaded.Editor().SetSelection({line, line, 2, 2}, {line, 2});
      }
      loaded.session.TypeChar(u'x');
    }
    const double history = static_cast<double>(loaded.Editor().History().MemoryBytes());
    state.counters["history_MB"] = history / 1e6;
    state.counters["list_MB"] = static_cast<double>(ListBytes(loaded.Editor().Names())) / 1e6;
    state.counters["history_per_list"] = history / static_cast<double>(ListBytes(loaded.Editor().Names()));
  }
}

/// One save of the unapplied edits after a keystroke changed every line's new name: what the
/// editor waits for (the edits gathered), and the whole write, which runs on another thread.
void BM_WriteKeptEditsOfEveryLine(benchmark::State& state) {
  LoadedSession loaded;
  const std::string stateFolder = bench::BenchFolders::Get().Folder(kLines) + "../kept-edits-state/";
  std::filesystem::remove_all(stateFolder);
  loaded.session.SetKeptEditsFolder(FromUtf8(stateFolder));
  loaded.ColumnCaret(0);
  for (auto _ : state) {
    state.PauseTiming();
    loaded.session.TypeChar(u'k');
    state.ResumeTiming();
    if (state.range(0) == 0) {
      loaded.session.StartWritingKeptEdits();
      state.PauseTiming();
      loaded.session.WriteKeptEdits();  // waits for it
      state.ResumeTiming();
    } else {
      benchmark::DoNotOptimize(loaded.session.WriteKeptEdits());
    }
  }
  state.SetLabel(state.range(0) == 0 ? "editor waits; goal <= 50 ms" : "whole write, on another thread");
  std::filesystem::remove_all(stateFolder);
}

// 30 keystrokes in a row, as typing does: each line grows by one character each time.
BENCHMARK(BM_TypeCharIntoColumnCaret)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_FirstTypeCharAfterLoad)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CheckConflicts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoOneStep)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_WriteKeptEditsOfEveryLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_UndoMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

NOMVARIX_BENCHMARK_MAIN()
