#include <string>
#include <vector>

#include "app/NomvarixApp.h"
#include "text/Utf16.h"

#ifdef _WIN32

wxIMPLEMENT_APP(nomvarix::CNomvarixApp);

#else

wxIMPLEMENT_APP_NO_MAIN(nomvarix::CNomvarixApp);

// POSIX arguments are bytes: they are decoded here, before the toolkit converts them by the locale,
// so that a path with undecodable bytes still names its folder.
int main(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(nomvarix::FromUtf8(argv[i]));
  wxApp::SetInstance(new nomvarix::CNomvarixApp(std::move(arguments)));
  return wxEntry(argc, argv);
}

#endif
