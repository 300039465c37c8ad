#pragma once
// What the benchmarks of the real main window share: the window itself on the native file system,
// settings that keep no edits, letting it handle what is queued, and timing a step.
#include <time.h>

#include <memory>

#include <wx/app.h>
#include <wx/utils.h>

#include "app/MainFrame.h"
#include "platform/FileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "platform/SettingKeys.h"
#include "view/NomvarixView.h"

namespace nomvarix::bench {

struct Figure {
  double wallMs;
  double cpuMs;
};

inline double ProcessCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

/// The measured edits are not the user's to keep, and saving them would be measured too.
inline MemorySettingsStore SettingsKeepingNoEdits() {
  MemorySettingsStore settings;
  settings.WriteFlag(settings::kKeepEditsBetweenRuns, false);
  return settings;
}

/// The main window, shown with a 1280 × 800 editor, on the native file system.
class BenchWindow {
 public:
  BenchWindow() : fileSystem_(MakeNativeFileSystem()), frame_(new CMainFrame(*fileSystem_, settings_)) {
    frame_->SetClientSize(1280 + 260, 800 + 60);
    frame_->Show();
    UntilIdle();
    view_ = frame_->EditorView();
  }
  ~BenchWindow() { frame_->Destroy(); }
  BenchWindow(const BenchWindow&) = delete;
  BenchWindow& operator=(const BenchWindow&) = delete;

 protected:
  /// Lets the program handle everything queued, then paints what it invalidated.
  void UntilIdle() {
    for (int round = 0; round < 1000; ++round) {
      wxTheApp->ProcessPendingEvents();
      wxYield();
      if (!wxTheApp->HasPendingEvents()) break;
    }
    frame_->Update();
  }

  std::unique_ptr<FileSystem> fileSystem_;
  MemorySettingsStore settings_ = SettingsKeepingNoEdits();
  CMainFrame* frame_;  ///< the toolkit owns it once shown
  CNomvarixView* view_ = nullptr;
};

}  // namespace nomvarix::bench
