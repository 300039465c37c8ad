#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <wx/log.h>

#include "app/NomvarixApp.h"
#include "app/rules/CommandLine.h"
#include "platform/HeapReserve.h"
#include "text/Utf16.h"

#ifdef _WIN32

wxIMPLEMENT_APP(nomvarix::CNomvarixApp);

#else

wxIMPLEMENT_APP_NO_MAIN(nomvarix::CNomvarixApp);

namespace {

/// True when the whole text reached the stream: a full disk or a closed pipe is seen here, at the
/// flush, and not only when the program ends.
bool WriteAll(std::FILE* stream, std::string_view text) {
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
}

}  // namespace

// POSIX arguments are bytes: they are decoded here, so that a path with undecodable bytes still
// names its folder. The toolkit sees only the program name: it would convert the rest by the
// locale and complain about what does not convert.
int main(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(nomvarix::FromUtf8(argv[i]));
  const nomvarix::CommandLine commandLine = nomvarix::ParseCommandLine(arguments);
  if (commandLine.action != nomvarix::CommandLine::Action::Start) {
    return nomvarix::AnswerWithoutWindow(
        commandLine, [](std::string_view text) { return WriteAll(stdout, text); },
        [](std::string_view text) { return WriteAll(stderr, text); });
  }
  nomvarix::ReserveHeapInLargePages();
  wxApp::SetInstance(new nomvarix::CNomvarixApp(std::move(arguments)));
  int toolkitArgc = 1;
  char* toolkitArgv[] = {argv[0], nullptr};
  bool started = false;
  {
    // Without a display the toolkit would report its failure in a message box, which needs one.
    wxLogNull quiet;
    started = wxEntryStart(toolkitArgc, toolkitArgv);
  }
  if (!started) {
    std::fputs("nomvarix: cannot open the display (is DISPLAY set to a running X server?)\n", stderr);
    return 1;
  }
  int status = 1;
  if (wxTheApp->CallOnInit()) {
    status = wxTheApp->OnRun();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return status;
}

#endif
