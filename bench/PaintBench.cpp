// One paint pass of the editor view, 1280 × 800, into an off-screen bitmap, with a list of 100 and
// of 100,000 lines: only the visible rows are drawn, so the time should not grow with the list.
// The line height and cell width are the fonts' own, as the view measures them, and the cell
// font's character widths are kept from pass to pass, as the view keeps them. Target ≤ 6 ms.
// Needs a display:
//
//   xvfb-run -a build/release/bench/paint_bench
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
#include "view/GlyphWidths.h"
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
  wxBitmap bitmap(width, height, 24);
  wxMemoryDC dc(bitmap);
  dc.SetFont(fonts.nameFont);
  const int lineHeight = dc.GetCharHeight() + 4;
  dc.SetFont(fonts.cellFont);
  editor.SetMetrics({.lineHeight = lineHeight, .charWidth = dc.GetCharWidth(), .textTop = geometry.TextTop(),
                     .dividerX = 400, .textMargin = geometry.textMargin, .clientWidth = width, .clientHeight = height});
  editor.SetSelection({2, 20, 3, 9}, {20, 9});
  ConflictLinks links;
  CheckConflicts(editor.Names(), links);
  CommandStrip scope(CommandStrip::Direction::FromLeft, 96);
  CommandStrip commands(CommandStrip::Direction::FromRight, 96);
  AddScopeButtons(scope);
  AddCommandButtons(commands);
  GlyphWidthCache widths;
  const PaintInput input{editor,   links, geometry, fonts, PaintFlags{.caretBlinkOn = true},
                         scope,    commands, &widths.For(fonts.cellFont)};
  for (auto _ : state) PaintEditor(dc, input);
  state.SetLabel("goal <= 6 ms");
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
