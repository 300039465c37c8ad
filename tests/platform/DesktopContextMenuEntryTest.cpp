// The file-manager entries written into a private home and data folder, checked by the desktop's
// validator and by starting their commands, then removed.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ContextMenuEntry.h"
#include "platform/FileManagerEntries.h"
#include "support/TempFolder.h"

namespace nomvarix {
namespace {

namespace fs = std::filesystem;
using Result = ContextMenuEntry::InstallResult;
using KeyFile = std::map<std::string, std::map<std::string, std::string>>;

/// Sets an environment variable (or unsets it, for nullptr) for the scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_.empty() ? unsetenv(name_) : setenv(name_, old_.c_str(), 1); }

 private:
  const char* name_;
  std::string old_;
};

struct ShellRun {
  int status;
  std::string output;
};

ShellRun RunShell(const std::string& command) {
  ShellRun run{-1, {}};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[512];
  while (const size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  run.status = pclose(pipe);
  return run;
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

/// Reads the group/key=value format that desktop entries, service menus and Nemo actions share;
/// any other line, a key outside a group or a key given twice fails the test.
KeyFile ParseKeyFile(const std::string& text) {
  KeyFile groups;
  std::string group;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    start = end == std::string::npos ? text.size() : end + 1;
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      group = line.substr(1, line.size() - 2);
      EXPECT_FALSE(groups.contains(group)) << line;
      groups[group];
      continue;
    }
    const size_t equals = line.find('=');
    const std::string key = line.substr(0, equals);
    EXPECT_TRUE(equals != std::string::npos && !group.empty() && !key.empty() &&
                key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-") ==
                    std::string::npos)
        << line;
    if (equals == std::string::npos) continue;
    EXPECT_TRUE(groups[group].emplace(key, line.substr(equals + 1)).second) << line;
  }
  return groups;
}

bool IsExecutable(const std::string& file) {
  struct stat info {};
  return stat(file.c_str(), &info) == 0 && (info.st_mode & S_IXUSR) != 0;
}

/// Starts an Exec line (desktop entries quote like the shell's double quotes, Nemo's single-quoted
/// words like the shell) with `code` standing for `path`, and returns what the program was given.
std::string StartExec(std::string exec, const std::string& code, const std::string& path, const std::string& log) {
  exec.replace(exec.find(code), code.size(), ShellQuoted(path));
  for (size_t at = exec.find("%%"); at != std::string::npos; at = exec.find("%%", at + 1)) exec.erase(at, 1);
  EXPECT_EQ(RunShell(exec).status, 0) << exec;
  std::ifstream in(log, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DesktopContextMenuEntryTest, InstallsAValidEntryAndRemovingLeavesNothing) {
  test::TempFolder scratch;
  const std::string data = scratch.AddFolder("data");
  ScopedEnv home("HOME", scratch.AddFolder("home").c_str());
  ScopedEnv dataHome("XDG_DATA_HOME", data.c_str());
  // A program in a build folder, at a path that every quoting must carry through; it writes down
  // the arguments it was started with.
  const std::string log = scratch.Path() + "arguments";
  const std::string program =
      scratch.AddFile("build/it's $HOME 100% \"x\" `y`/nomvarix", "#!/bin/sh\nprintf '%s\\n' \"$@\" > " +
                                                                     ShellQuoted(log) + "\n");
  chmod(program.c_str(), 0755);
  const std::string clicked = scratch.AddFolder("photos 2024") + "a b.jpg";
  const auto entry = MakeNativeContextMenuEntry();
  EXPECT_FALSE(entry->IsInstalledForUser());

  ASSERT_EQ(entry->Install(std::u16string(program.begin(), program.end())), Result::kAddedForUninstalled);
  EXPECT_TRUE(entry->IsInstalledForUser());
  EXPECT_TRUE(entry->IsShown());
  for (const FileManagerEntryFile& file : FileManagerEntryFiles(program)) {
    EXPECT_EQ(scratch.ReadFile("data/" + file.relativePath), file.content) << file.relativePath;
    EXPECT_EQ(IsExecutable(data + file.relativePath), file.executable) << file.relativePath;
  }

  // The desktop entry: valid without a single complaint, and for no type of file or folder.
  const std::string desktopEntry = data + kDesktopEntryPath;
  const ShellRun validation = RunShell("desktop-file-validate " + ShellQuoted(desktopEntry));
  EXPECT_EQ(validation.status, 0);
  EXPECT_EQ(validation.output, "");
  KeyFile keys = ParseKeyFile(scratch.ReadFile(std::string("data/") + kDesktopEntryPath));
  EXPECT_EQ(keys["Desktop Entry"]["Name"], "Open Folder in Nomvarix");
  EXPECT_EQ(keys["Desktop Entry"]["Icon"], "nomvarix-open-folder");
  EXPECT_EQ(StartExec(keys["Desktop Entry"]["Exec"], "%f", clicked, log), clicked + "\n");
  EXPECT_EQ(keys["Desktop Entry"]["TryExec"], program);
  EXPECT_EQ(keys["Desktop Entry"].count("MimeType"), 0u);
  EXPECT_TRUE(fs::is_regular_file(data + "icons/hicolor/scalable/apps/nomvarix-open-folder.svg"));
  EXPECT_FALSE(fs::exists(data + "applications/mimeinfo.cache"));

  // Dolphin's service menu, for Plasma 6 and 5.
  for (const char* place : {"kio/servicemenus/", "kservices5/ServiceMenus/"}) {
    keys = ParseKeyFile(scratch.ReadFile("data/" + std::string(place) + "nomvarix-open-folder.desktop"));
    EXPECT_EQ(keys["Desktop Entry"]["Type"], "Service");
    EXPECT_EQ(keys["Desktop Entry"]["MimeType"], "inode/directory;all/allfiles;");
    EXPECT_EQ(keys["Desktop Entry"]["Actions"], "openInNomvarix;");
    EXPECT_EQ(keys["Desktop Action openInNomvarix"]["Name"], "Open Folder in Nomvarix");
    EXPECT_EQ(StartExec(keys["Desktop Action openInNomvarix"]["Exec"], "%f", clicked, log), clicked + "\n");
  }

  // The Nemo action.
  keys = ParseKeyFile(scratch.ReadFile("data/nemo/actions/nomvarix-open-folder.nemo_action"));
  EXPECT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys["Nemo Action"]["Selection"], "s");
  EXPECT_EQ(keys["Nemo Action"]["Extensions"], "any;");
  EXPECT_EQ(StartExec(keys["Nemo Action"]["Exec"], "%F", clicked, log), clicked + "\n");

  // The GNOME Files script, started in the folder shown with the selected name, or with none.
  const std::string script = data + "nautilus/scripts/Open Folder in Nomvarix";
  EXPECT_EQ(RunShell("sh -n " + ShellQuoted(script)).status, 0);
  const std::string folder = fs::path(clicked).parent_path().string();
  EXPECT_EQ(RunShell("cd " + ShellQuoted(folder) + " && " + ShellQuoted(script) + " 'a b.jpg'").status, 0);
  EXPECT_EQ(scratch.ReadFile("arguments"), clicked + "\n");
  EXPECT_EQ(RunShell("cd " + ShellQuoted(folder) + " && " + ShellQuoted(script)).status, 0);
  EXPECT_EQ(scratch.ReadFile("arguments"), folder + "/.\n");

  // An older version's entry named folders in the desktop's MIME cache: removing takes it out, and
  // the cache with it when it held nothing else.
  RunShell("update-desktop-database -q " + ShellQuoted(data + "applications"));
  std::ofstream(data + "applications/mimeinfo.cache", std::ios::app)
      << "inode/directory=nomvarix-open-folder.desktop;\n";
  entry->Remove();
  EXPECT_FALSE(entry->IsInstalledForUser());
  std::vector<std::string> left;
  for (const auto& item : fs::recursive_directory_iterator(data)) left.push_back(item.path().string());
  EXPECT_EQ(left, std::vector<std::string>{});
}

/// The default application for a type as GLib chooses it, or "" when it has none.
std::string GioDefaultFor(const std::string& type) {
  const std::string output = RunShell("gio mime " + type).output;
  const std::size_t colon = output.find(": ");
  if (output.rfind("Default application", 0) != 0 || colon == std::string::npos) return "";
  return output.substr(colon + 2, output.find('\n') - colon - 2);
}

TEST(DesktopContextMenuEntryTest, NeverBecomesTheDefaultForFoldersOrFiles) {
  test::TempFolder scratch;
  ScopedEnv home("HOME", scratch.AddFolder("home").c_str());
  ScopedEnv dataHome("XDG_DATA_HOME", scratch.AddFolder("data").c_str());
  ScopedEnv configHome("XDG_CONFIG_HOME", scratch.AddFolder("config").c_str());
  ScopedEnv configDirs("XDG_CONFIG_DIRS", scratch.AddFolder("etc").c_str());
  ScopedEnv desktop("XDG_CURRENT_DESKTOP", nullptr);
  // A system with a file manager, and with the program's package installed beside it.
  const std::string system = scratch.AddFolder("system");
  ScopedEnv dataDirs("XDG_DATA_DIRS", system.c_str());
  scratch.AddFile("system/applications/files.desktop",
                  "[Desktop Entry]\nType=Application\nName=Files\nExec=true %U\nMimeType=inode/directory;\n");
  ASSERT_EQ(RunShell("update-desktop-database -q " + ShellQuoted(system + "applications")).status, 0);
  ASSERT_EQ(GioDefaultFor("inode/directory"), "files.desktop");
  std::ifstream package(NOMVARIX_DESKTOP_FILE, std::ios::binary);
  scratch.AddFile("system/applications/nomvarix.desktop", std::string(std::istreambuf_iterator<char>(package), {}));
  ASSERT_EQ(RunShell("update-desktop-database -q " + ShellQuoted(system + "applications")).status, 0);
  EXPECT_EQ(GioDefaultFor("inode/directory"), "files.desktop");

  const std::string program = scratch.AddFile("bin/nomvarix", "#!/bin/sh\n");
  chmod(program.c_str(), 0755);
  const auto entry = MakeNativeContextMenuEntry();
  ASSERT_NE(entry->Install(std::u16string(program.begin(), program.end())), Result::kFailed);
  EXPECT_EQ(GioDefaultFor("inode/directory"), "files.desktop");
  EXPECT_EQ(GioDefaultFor("application/octet-stream"), "");
  EXPECT_EQ(GioDefaultFor("image/jpeg"), "");
  EXPECT_EQ(RunShell("xdg-mime query default inode/directory").output, "files.desktop\n");
  entry->Remove();
  EXPECT_EQ(GioDefaultFor("inode/directory"), "files.desktop");
}

TEST(DesktopContextMenuEntryTest, AnInstalledProgramIsStartedFromItsInstallationUnderTheHomeDataFolder) {
  test::TempFolder scratch;
  ScopedEnv home("HOME", scratch.Path().c_str());
  ScopedEnv dataHome("XDG_DATA_HOME", nullptr);
  scratch.AddFile("usr/share/applications/nomvarix.desktop");
  const std::string program = scratch.AddFile("usr/bin/nomvarix");
  const auto entry = MakeNativeContextMenuEntry();

  ASSERT_EQ(entry->Install(std::u16string(program.begin(), program.end())), Result::kAdded);
  const std::string desktopEntry = scratch.ReadFile(std::string(".local/share/") + kDesktopEntryPath);
  EXPECT_NE(desktopEntry.find("Exec=\"" + program + "\" %f\n"), std::string::npos) << desktopEntry;
  // The icon of a `cmake --install --prefix ~/.local` is the program's, not the entry's to remove.
  const std::string installedIcon = scratch.AddFile(".local/share/icons/hicolor/scalable/apps/nomvarix.svg");

  entry->Remove();
  EXPECT_FALSE(entry->IsInstalledForUser());
  EXPECT_TRUE(fs::is_regular_file(installedIcon));
  EXPECT_FALSE(fs::exists(scratch.Path() + ".local/share/kio"));
}

}  // namespace
}  // namespace nomvarix
