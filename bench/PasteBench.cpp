// Long lines pasted from the system clipboard under a display:
//   paste peak    a 50 MB line pasted into a column of 20 lines of a folder of 1,000 files, as the
//                 Paste command does it: the largest resident memory while it runs, above what the
//                 process held before (target < 200 MB), and what it still holds after the paste
//                 and after its Undo
//   paint         one paint pass of the 1280 × 800 editor in the real main window, the display's
//                 work included, with lines of nearly the longest length a line may have in view,
//                 pasted by the window's Paste command: at their end, and at their start (target
//                 ≤ 6 ms for the painter alone, bench/PaintBench.cpp)
// Another process of this program owns the clipboard, as the program it was copied from would.
//
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/release/bench/paste_bench
#include <signal.h>
#include <spawn.h>
#include <time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/utils.h>

#include "BenchFolders.h"
#include "BenchWindow.h"
#include "app/MainFrame.h"
#include "platform/Clipboard.h"
#include "platform/FileSystem.h"
#include "platform/HeapReserve.h"
#include "platform/MemorySettingsStore.h"
#include "platform/SettingKeys.h"
#include "resources/CommandIds.h"
#include "session/EditorSession.h"
#include "text/Utf16.h"
#include "view/NomvarixView.h"
#include "view/SystemClipboard.h"

extern char** environ;

namespace nomvarix::bench {
namespace {

constexpr std::size_t kPastedBytes = 50u << 20;
constexpr int kColumnLines = 20;
constexpr int kPaintRuns = 21;
constexpr const char* kOwnClipboard = "--own-clipboard";

/// A figure of /proc/self/status in bytes ("VmRSS", "VmHWM").
long StatusBytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1)) * 1024;
  }
  return -1;
}

/// Makes the peak start again from what is resident now.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double Mb(long bytes) { return static_cast<double>(bytes) / (1 << 20); }

/// The other process: puts one line of the length given on the clipboard, says so on its output
/// and serves it until it is ended.
class ClipboardOwnerApp final : public wxApp {
 public:
  explicit ClipboardOwnerApp(std::size_t length) : length_(length) {}

  bool OnInit() override {
    CallAfter([length = length_] {
      wxString line;
      line.reserve(length);
      for (std::size_t i = 0; i < length; ++i) line += static_cast<wxChar>('a' + i % 26);
      const bool set = wxTheClipboard->Open() && wxTheClipboard->SetData(new wxTextDataObject(line));
      wxTheClipboard->Close();
      std::printf("%s\n", set ? "ready" : "failed");
      std::fflush(stdout);
    });
    return true;
  }

 private:
  std::size_t length_;
};

/// Starts the clipboard's owner with a line of `length` characters and waits until it holds it; it
/// ends with this object.
class ClipboardOwner {
 public:
  explicit ClipboardOwner(std::size_t length) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char self[] = "/proc/self/exe";
    char flag[64];
    std::snprintf(flag, sizeof flag, "%s", kOwnClipboard);
    std::string lengthText = std::to_string(length);
    char* argv[] = {self, flag, lengthText.data(), nullptr};
    if (posix_spawn(&pid_, self, &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char answer[16] = {};
    ready_ = pid_ > 0 && read(out[0], answer, sizeof answer - 1) > 0 && std::strncmp(answer, "ready", 5) == 0;
    close(out[0]);
  }
  ~ClipboardOwner() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  bool Ready() const { return ready_; }

 private:
  pid_t pid_ = -1;
  bool ready_ = false;
};

class PasteBench : public BenchWindow {
 public:

  void Run() {
    MeasurePaste();
    MeasurePaint();
  }

 private:
  /// The paste of a session of its own, as the view's Paste command runs it: the view would stop
  /// at the message saying that the lines were left as they were.
  void MeasurePaste() {
    ClipboardOwner owner(kPastedBytes);
    if (!owner.Ready()) {
      std::printf("the clipboard could not be filled\n");
      return;
    }
    MemorySettingsStore settings = SettingsKeepingNoEdits();
    EditorSession session(*fileSystem_, settings);
    session.LoadFolder(FromUtf8(BenchFolders::Get().Folder(1000)));
    session.Editor().SetSelection({0, kColumnLines - 1, 5, 5}, {kColumnLines - 1, 5});
    const std::unique_ptr<Clipboard> clipboard = MakeSystemClipboard();
    const long before = StatusBytes("VmRSS");
    ResetPeak();
    const auto start = std::chrono::steady_clock::now();
    session.PasteClipboard(*clipboard);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const long peak = StatusBytes("VmHWM");
    const long afterPaste = StatusBytes("VmRSS");
    std::printf("  lines refused: %zu\n", session.Editor().TakeRefusedLines());
    session.Undo();
    const long afterUndo = StatusBytes("VmRSS");
    std::printf("%-66s %8.1f MB (target < 200)\n", "paste of a 50 MB line into 20 lines: peak above before", Mb(peak - before));
    std::printf("%-66s %8.1f MB\n", "  resident above before, after the paste", Mb(afterPaste - before));
    std::printf("%-66s %8.1f MB\n", "  resident above before, after its Undo", Mb(afterUndo - before));
    std::printf("%-66s %8.1f ms\n", "  time of the paste", ms);
    std::fflush(stdout);
  }

  /// Lines of nearly the longest length a line may have, pasted through the view's own command at
  /// a plain caret on each of the first lines in view, and painted showing their start and their end.
  void MeasurePaint() {
    frame_->SelectPath(FromUtf8(BenchFolders::Get().Folder(1000)));
    UntilIdle();
    ClipboardOwner owner(NameEditor::kMaxLineLength - 100);
    if (!owner.Ready()) return;
    const EditorSession& session = view_->Session();
    const ViewMetrics& m = session.Editor().Metrics();
    Report("paint pass, 1280 × 800, names of 20 to 40 characters", Repeat([&] { Paint(); }));
    for (int line = 0; line < 3; ++line) {
      Click(m.dividerX + m.textMargin + 1, m.textTop + line * m.lineHeight + m.lineHeight / 2);
      Command(cmd::kPaste);
    }
    Key(WXK_END);
    std::printf("line 0 holds %zu characters; caret at column %d, left column %d\n",
                session.Editor().Names()[0].lineText.size(), session.Editor().Caret().column,
                session.Editor().LeftColumn());
    Report("paint pass, 1280 × 800, long lines in view, at their end", Repeat([&] { Paint(); }));
    Click(m.dividerX + m.textMargin + 1, m.textTop + m.lineHeight / 2);
    Key(WXK_HOME);
    std::printf("left column %d\n", session.Editor().LeftColumn());
    Report("paint pass, 1280 × 800, long lines in view, at their start", Repeat([&] { Paint(); }));
  }

  void Click(int x, int y) {
    for (const wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
      wxMouseEvent click(type);
      click.m_x = x;
      click.m_y = y;
      click.SetEventObject(view_);
      view_->GetEventHandler()->ProcessEvent(click);
    }
    UntilIdle();
  }

  void Command(int command) {
    wxCommandEvent event(wxEVT_MENU, cmd::MenuIdOf(command));
    event.SetEventObject(frame_);
    frame_->ProcessWindowEvent(event);
    UntilIdle();
  }

  void Key(int code) {
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = code;
    key.SetEventObject(view_);
    view_->GetEventHandler()->ProcessEvent(key);
    UntilIdle();
  }

  void Paint() {
    view_->Refresh(false);
    view_->Update();
  }

  static std::vector<Figure> Repeat(const std::function<void()>& step) {
    std::vector<Figure> figures;
    for (int i = 0; i < kPaintRuns; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const double cpu = ProcessCpuMs();
      step();
      figures.push_back({std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
                         ProcessCpuMs() - cpu});
    }
    return figures;
  }

  static void Report(const char* what, std::vector<Figure> figures) {
    const auto median = [&](double Figure::*field) {
      std::sort(figures.begin(), figures.end(), [&](const Figure& a, const Figure& b) { return a.*field < b.*field; });
      return figures[figures.size() / 2].*field;
    };
    const double cpu = median(&Figure::cpuMs);
    std::printf("%-66s %8.2f ms (CPU %.2f ms)\n", what, median(&Figure::wallMs), cpu);
    std::fflush(stdout);
  }
};

class BenchApp final : public wxApp {
 public:
  bool OnInit() override {
    CallAfter([] {
      {
        PasteBench bench;
        bench.Run();
      }
      wxTheApp->ExitMainLoop();
    });
    return true;
  }
};

}  // namespace
}  // namespace nomvarix::bench

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], nomvarix::bench::kOwnClipboard) == 0) {
    const std::size_t length = argc > 2 ? std::stoul(argv[2]) : 0;
    wxApp::SetInstance(new nomvarix::bench::ClipboardOwnerApp(length));
    return wxEntry(argc, argv);
  }
  nomvarix::ReserveHeapInLargePages();
  wxApp::SetInstance(new nomvarix::bench::BenchApp);
  return wxEntry(argc, argv);
}
