// Starts the real application object under the test's display, on a folder prepared here. One
// application per process: ctest runs each test on its own.
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include "GuiTestEnvironment.h"
#include "app/NomvarixApp.h"
#include "text/Utf16.h"

namespace nomvarix::test {

GuiTestEnvironment* GuiTestEnvironment::instance_ = nullptr;

GuiTestEnvironment::GuiTestEnvironment(int& argc, char** argv) : argc_(argc), argv_(argv) { instance_ = this; }

void GuiTestEnvironment::SetUp() {
  for (const char* name : {"b.jpg", "a.png", "C.JPG", "z", "_c.txt", ".hidden"}) temp_.AddFile(std::string("photos/") + name);
  temp_.AddFolder("photos/sub");
  temp_.AddFile("other/one.txt");
  setenv("NOMVARIX_SETTINGS_FILE", (temp_.Path() + "settings.conf").c_str(), 1);
  // Edits kept between runs and rename journals stay in this test's folder: no other test process
  // finds them, and the user's own state folder is never touched.
  setenv("XDG_STATE_HOME", (temp_.Path() + "state").c_str(), 1);
  // So do the AI template and data files.
  setenv("XDG_DATA_HOME", (temp_.Path() + "data").c_str(), 1);

  wxApp::SetInstance(new CNomvarixApp({u"--", FromUtf8(PhotosFolder())}));
  started_ = wxEntryStart(argc_, argv_);
  ASSERT_TRUE(started_) << "no display";
  ASSERT_TRUE(wxTheApp->CallOnInit());
}

void GuiTestEnvironment::TearDown() {
  if (!started_) return;
  wxTheApp->OnExit();
  wxEntryCleanup();
}

CNomvarixApp& GuiTestEnvironment::App() { return *static_cast<CNomvarixApp*>(wxTheApp); }

}  // namespace nomvarix::test
