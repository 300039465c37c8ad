#pragma once

#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>

#include "app/ConfigSettingsStore.h"

namespace nomvarix {

class CMainFrame;
class FileSystem;

/// The application object: it owns the platform services, creates the main window and hands the
/// start path to it once the window has painted.
class CNomvarixApp final : public wxApp {
 public:
  static constexpr const char* kApplicationId = "Nomvarix.AppID.NoVersion";
  /// When this environment variable is set, the program quits at the first idle time after the
  /// start folder was opened: the benchmarks time a whole opening this way.
  static constexpr const char* kQuitWhenIdleVariable = "NOMVARIX_QUIT_WHEN_IDLE";

  /// `arguments` are the command line's arguments after the program name, decoded losslessly.
  explicit CNomvarixApp(std::vector<std::u16string> arguments = {});
  ~CNomvarixApp() override;

  bool OnInit() override;
  /// The main loop's status, or the one the command line or its start path called for.
  int OnRun() override;

  CMainFrame* MainFrame() const { return frame_; }
  SettingsStore& Settings() const { return *settings_; }
  /// The start path of the command line until the start folder was opened, then empty.
  const std::u16string& StartPath() const { return startPath_; }

 private:
  void ShowAbout();
  void OnFirstEditorPaint(wxPaintEvent& event);
  void QuitOnNextIdle();

  std::vector<std::u16string> arguments_;
  std::unique_ptr<FileSystem> fileSystem_;
  std::unique_ptr<ConfigSettingsStore> settings_;
  std::u16string startPath_;
  /// Why the start path could not be opened ("cannot open ..."), in UTF-8; empty when it could.
  std::string startProblem_;
  int exitStatus_ = 0;
  CMainFrame* frame_ = nullptr;
};

}  // namespace nomvarix
