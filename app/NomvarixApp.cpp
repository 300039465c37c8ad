#include "app/NomvarixApp.h"

#ifdef __WXMSW__
#include <shobjidl.h>
#endif

#include <cstdio>
#include <string>
#include <string_view>

#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "app/AboutDlg.h"
#include "app/ConfigSettingsStore.h"
#include "app/InterruptedRenameDlg.h"
#include "app/MainFrame.h"
#include "view/NomvarixView.h"
#include "app/rules/CommandLine.h"
#include "platform/FileSystem.h"
#include "platform/StateFolder.h"
#include "resources/CommandIds.h"
#include "controls/WxText.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

#ifdef __WXMSW__
/// A windowed program has no console of its own: the text goes to the standard stream (output or
/// error, `which`) when that was redirected, else to the console of the program that started it,
/// if any. True when the whole text was written.
bool PrintToStartingConsole(DWORD which, std::string_view text) {
  HANDLE out = GetStdHandle(which);
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                      nullptr);
  }
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  return WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}
#endif

/// Writes a line on the standard error stream (on Windows, that of the starting console).
void PrintError(std::string_view line) {
#ifdef __WXMSW__
  PrintToStartingConsole(STD_ERROR_HANDLE, line);
#else
  std::fwrite(line.data(), 1, line.size(), stderr);
#endif
}

}  // namespace

CNomvarixApp::CNomvarixApp(std::vector<std::u16string> arguments) : arguments_(std::move(arguments)) {}

CNomvarixApp::~CNomvarixApp() = default;

bool CNomvarixApp::OnInit() {
  // The toolkit's own command-line parser is not used: it would refuse the switches that the
  // program skips.
  SetAppName("Nomvarix");
  SetVendorName("Quorvantine");
  SetClassName(kApplicationId);
#ifdef __WXMSW__
  SetCurrentProcessExplicitAppUserModelID(L"Nomvarix.AppID.NoVersion");
  if (arguments_.empty()) {
    for (int i = 1; i < argc; ++i) arguments_.push_back(FromWx(argv[i]));
  }
#endif
  const CommandLine commandLine = ParseCommandLine(arguments_);
#ifdef __WXMSW__
  // Elsewhere main() answers these before the toolkit starts.
  if (commandLine.action != CommandLine::Action::Start) {
    exitStatus_ = AnswerWithoutWindow(
        commandLine, [](std::string_view text) { return PrintToStartingConsole(STD_OUTPUT_HANDLE, text); },
        [](std::string_view text) { return PrintToStartingConsole(STD_ERROR_HANDLE, text); });
    CallAfter([this] { ExitMainLoop(); });
    return true;
  }
#endif
  fileSystem_ = MakeNativeFileSystem();
  settings_ = ConfigSettingsStore::OpenUserSettings();
  startPath_ = commandLine.startPath;
  if (!startPath_.empty() && fileSystem_->KindOf(fileSystem_->AbsolutePath(startPath_)) == PathKind::Missing) {
    startProblem_ = MissingStartPathMessage(startPath_);
    PrintError("nomvarix: " + startProblem_ + "\n");
    exitStatus_ = 1;
  }

  Bind(wxEVT_MENU, [this](wxCommandEvent&) { ShowAbout(); }, cmd::MenuIdOf(cmd::kAbout));
  Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); }, cmd::MenuIdOf(cmd::kAbout));

  frame_ = new CMainFrame(*fileSystem_, *settings_);
  frame_->EditorView()->SetStateFolder(StateFolder());
  if (!settings_->Problem().empty()) frame_->SetStatusText(ToWx(settings_->Problem()), 0);
  // The start folder is opened once the editor has painted its empty view: a large folder takes a
  // moment to load, and the window must not stand unpainted meanwhile. Bound before the window
  // shows: on Windows the first paint comes within Update().
  frame_->EditorView()->Bind(wxEVT_PAINT, &CNomvarixApp::OnFirstEditorPaint, this);
  frame_->Show();
  frame_->Update();
  return true;
}

void CNomvarixApp::OnFirstEditorPaint(wxPaintEvent& event) {
  event.Skip();
  frame_->EditorView()->Unbind(wxEVT_PAINT, &CNomvarixApp::OnFirstEditorPaint, this);
  frame_->CallAfter([this] {
    // An apply that an earlier run left half done is set right before anything is loaded; its
    // folder is then the one shown.
    const std::u16string recovered = RecoverInterruptedRenames(
        frame_, *fileSystem_, [this](HistoryEntry entry) { frame_->EditorView()->RecordInHistory(std::move(entry)); });
    if (!startProblem_.empty()) {
      wxMessageBox("Nomvarix " + ToWx(FromUtf8(startProblem_)) + ".", "Nomvarix", wxOK | wxICON_ERROR, frame_);
    }
    const std::u16string startPath = std::exchange(startPath_, {});
    frame_->OpenStartFolder(recovered.empty() ? startPath : recovered);
    if (wxGetEnv(kQuitWhenIdleVariable, nullptr)) QuitOnNextIdle();
  });
}

int CNomvarixApp::OnRun() {
  const int status = wxApp::OnRun();
  return exitStatus_ != 0 ? exitStatus_ : status;
}

void CNomvarixApp::QuitOnNextIdle() {
  // Posted after the folder was opened: the first idle time comes once its paint and every event
  // it queued were handled, which is what a benchmark of the opening wants to end on.
  Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
    event.Skip();
    if (!frame_) return;
    frame_->Update();
    frame_->Close(true);
  });
}

void CNomvarixApp::ShowAbout() {
  CAboutDlg about(frame_);
  about.ShowModal();
}

}  // namespace nomvarix
