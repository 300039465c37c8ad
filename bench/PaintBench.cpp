// One paint pass of the editor view into an off-screen bitmap, with a list of 100 and of 100,000
// lines: only the visible rows are drawn, so the time should not grow with the list. Needs a
// display (run it under xvfb-run).
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/init.h>

#include "BenchFolders.h"
#include "apply/ConflictCheck.h"
#include "editor/NameEditor.h"
#include "platform/FileSystem.h"
#include "text/Utf16.h"
#include "view/CommandStrip.h"
#include "view/EditorPainter.h"
#include "view/ViewGeometry.h"
#include "view/ViewStrips.h"

namespace nomvarix::bench {
namespace {

void BM_PaintPass(benchmark::State& state) {
  const auto fileSystem = MakeNativeFileSystem();
  NameEditor editor;
  editor.LoadFolder(*fileSystem, FromUtf8(BenchFolders::Get().Folder(static_cast<int>(state.range(0)))), {});
  const int width = 1280;
  const int height = 800;
  ViewGeometry geometry(96);
  ViewFonts fonts(23);
  editor.SetMetrics({.lineHeight = 27, .charWidth = 12, .textTop = geometry.TextTop(), .dividerX = 400,
                     .textMargin = geometry.textMargin, .clientWidth = width, .clientHeight = height});
  editor.SetSelection({2, 20, 3, 9}, {20, 9});
  ConflictLinks links;
  CheckConflicts(editor.Names(), links);
  CommandStrip scope(CommandStrip::Direction::FromLeft, 96);
  CommandStrip commands(CommandStrip::Direction::FromRight, 96);
  AddScopeButtons(scope);
  AddCommandButtons(commands);
  const PaintInput input{editor, links, geometry, fonts, PaintFlags{.caretBlinkOn = true}, scope, commands};
  wxBitmap bitmap(width, height, 24);
  wxMemoryDC dc(bitmap);
  for (auto _ : state) PaintEditor(dc, input);
}
BENCHMARK(BM_PaintPass)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nomvarix::bench

int main(int argc, char** argv) {
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  wxEntryCleanup();
  return 0;
}
