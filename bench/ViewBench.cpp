// The real program's main window under a display, driven through its own event handlers, on a
// folder of 100,000 files (names of 20 to 40 characters):
//   open          selecting the folder in the tree until the view is idle and painted (load,
//                 divider, first paint), beside the same for an empty folder (the target of
//                 ≤ 1.5× is for the whole process, start-up included: bench/open-folder-cpu.sh)
//   font step     one Ctrl+wheel step and its paint; target ≤ 50 ms
//   keystroke     a character typed into a column caret over all 100,000 lines, and its paint
//   paint         one paint pass of the 1280 × 800 editor in the window, the display's work
//                 included; the painter alone is bench/PaintBench.cpp (target ≤ 6 ms)
//   bytes/name    resident memory after opening the folder minus that after the empty folder,
//                 per name; target ≤ 700
// Each step runs several times; the median and the largest are printed.
//
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/release/bench/view_bench
//
// The whole process, start-up included, against an empty folder: bench/open-folder-cpu.sh.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/utils.h>

#include "BenchFolders.h"
#include "BenchWindow.h"
#include "app/MainFrame.h"
#include "platform/FileSystem.h"
#include "platform/HeapReserve.h"
#include "platform/MemorySettingsStore.h"
#include "platform/SettingKeys.h"
#include "text/Utf16.h"
#include "view/NomvarixView.h"

namespace nomvarix::bench {
namespace {

constexpr int kLines = 100000;
constexpr int kRuns = 7;

long ResidentBytes() {
  long pages = 0;
  long resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

class ViewBench : public BenchWindow {
 public:

  void Run() {
    const std::string empty = BenchFolders::Get().Folder(0);
    const std::string large = BenchFolders::Get().Folder(kLines);
    Open(empty);
    const long emptyBytes = ResidentBytes();
    Open(large);
    const long bytesPerName = (ResidentBytes() - emptyBytes) / kLines;
    std::vector<Figure> emptyOpen, largeOpen;
    for (int i = 0; i < kRuns; ++i) {
      emptyOpen.push_back(Open(empty));
      largeOpen.push_back(Open(large));
    }
    Report("open 100,000-file folder (load, divider, first paint, until idle)", largeOpen);
    Report("open empty folder", emptyOpen);
    std::printf("%-66s %8.2f×   (start-up excluded)\n", "open 100,000 files / open empty folder, CPU",
                Median(largeOpen, &Figure::cpuMs) / Median(emptyOpen, &Figure::cpuMs));
    std::printf("%-66s %8ld    (target ≤ 700)\n", "memory per name, bytes (RSS after 100,000 minus empty)",
                bytesPerName);
    Report("font step, 100,000 lines (Ctrl+wheel and paint; target ≤ 50 ms)", Repeat([&](int i) { FontStep(i); }));
    SelectColumnOnAllLines();
    Report("keystroke into a column caret over 100,000 lines, and paint", Repeat([&](int) { Type('x'); }));
    Report("paint pass in the window, 1280 × 800 (painter alone: paint_bench)", Repeat([&](int) { Paint(); }));
  }

 private:
  Figure Timed(const std::function<void()>& step) {
    const auto wall = std::chrono::steady_clock::now();
    const double cpu = ProcessCpuMs();
    step();
    UntilIdle();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count(),
            ProcessCpuMs() - cpu};
  }

  std::vector<Figure> Repeat(const std::function<void(int)>& step) {
    std::vector<Figure> figures;
    for (int i = 0; i < kRuns; ++i) figures.push_back(Timed([&] { step(i); }));
    return figures;
  }

  Figure Open(const std::string& folder) {
    return Timed([&] { frame_->SelectPath(FromUtf8(folder)); });
  }

  void FontStep(int i) {
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.SetControlDown(true);
    wheel.m_wheelRotation = i % 2 == 0 ? 120 : -120;
    wheel.m_wheelDelta = 120;
    wheel.SetEventObject(view_);
    view_->GetEventHandler()->ProcessEvent(wheel);
  }

  /// A click on the ruler above column 5: a caret in that column on every line.
  void SelectColumnOnAllLines() {
    const ViewMetrics& m = view_->Session().Editor().Metrics();
    const wxPoint at(m.dividerX + m.textMargin + 5 * m.charWidth + m.charWidth / 2, m.textTop - 8);
    for (const wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
      wxMouseEvent click(type);
      click.m_x = at.x;
      click.m_y = at.y;
      click.SetEventObject(view_);
      view_->GetEventHandler()->ProcessEvent(click);
    }
    UntilIdle();
    const BlockSelection& selection = view_->Session().Editor().Selection();
    std::printf("column caret: lines %d to %d, column %d\n", selection.startLine, selection.endLine,
                selection.startColumn);
  }

  void Type(wxChar c) {
    wxKeyEvent key(wxEVT_CHAR);
    key.m_keyCode = c;
    key.m_uniChar = c;
    key.SetEventObject(view_);
    view_->GetEventHandler()->ProcessEvent(key);
  }

  void Paint() {
    view_->Refresh(false);
    view_->Update();
  }

  static double Median(std::vector<Figure> figures, double Figure::*field) {
    std::sort(figures.begin(), figures.end(), [&](const Figure& a, const Figure& b) { return a.*field < b.*field; });
    return figures[figures.size() / 2].*field;
  }

  static void Report(const char* what, const std::vector<Figure>& figures) {
    double largest = 0;
    for (const Figure& f : figures) largest = std::max(largest, f.wallMs);
    std::printf("%-66s %8.2f ms (largest %.2f; CPU %.2f ms)\n", what, Median(figures, &Figure::wallMs), largest,
                Median(figures, &Figure::cpuMs));
    std::fflush(stdout);
  }
};

class BenchApp final : public wxApp {
 public:
  bool OnInit() override {
    CallAfter([] {
      {
        ViewBench bench;
        bench.Run();
      }
      wxTheApp->ExitMainLoop();
    });
    return true;
  }
};

}  // namespace
}  // namespace nomvarix::bench

wxIMPLEMENT_APP_NO_MAIN(nomvarix::bench::BenchApp);

// The heap is prepared as the program's own main() prepares it.
int main(int argc, char** argv) {
  nomvarix::ReserveHeapInLargePages();
  return wxEntry(argc, argv);
}
