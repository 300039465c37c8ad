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
#include "text/Utf16.h"

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

/// A string value as readers of desktop entries, service menus and Nemo actions take it.
std::string UnescapedString(const std::string& value) {
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      text += value[i];
      continue;
    }
    const char c = value[++i];
    const std::string known = "s n t r \\";
    EXPECT_NE(known.find(c), std::string::npos) << "escape \\" << c << " in " << value;
    text += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
  }
  return text;
}

/// The words of an Exec value by the desktop entry rules (after UnescapedString): words split at
/// spaces, a double-quoted word with \" \` \$ \\ undone, `code` standing for `path`, %% for %.
std::vector<std::string> ExecWords(const std::string& exec, const std::string& code, const std::string& path) {
  std::vector<std::string> words;
  for (size_t i = 0; i < exec.size();) {
    if (exec[i] == ' ') {
      ++i;
      continue;
    }
    std::string word;
    const bool quoted = exec[i] == '"';
    if (quoted) ++i;
    for (; i < exec.size() && (quoted ? exec[i] != '"' : exec[i] != ' '); ++i) {
      if (quoted && exec[i] == '\\') {
        const char next = i + 1 < exec.size() ? exec[i + 1] : '\0';
        EXPECT_NE(std::string("\"`$\\").find(next), std::string::npos) << exec;
        ++i;
      } else if (exec[i] == '%') {
        EXPECT_TRUE(exec.compare(i, 2, "%%") == 0 || (!quoted && exec.compare(i, code.size(), code) == 0)) << exec;
        if (exec.compare(i, 2, "%%") != 0) {
          word += path;
          i += code.size() - 1;
          continue;
        }
        ++i;
      }
      word += exec[i];
    }
    if (quoted) {
      EXPECT_LT(i++, exec.size()) << "unclosed quote in " << exec;
    }
    words.push_back(word);
  }
  return words;
}

std::string ReadAll(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Runs a shell command and returns what the started program wrote down.
std::string RunAndRead(const std::string& command, const std::string& log) {
  std::remove(log.c_str());
  EXPECT_EQ(RunShell(command).status, 0) << command;
  return ReadAll(log);
}

/// Starts an Exec value of a desktop entry or service menu as its reader would.
std::string StartExec(const std::string& value, const std::string& path, const std::string& log) {
  std::string command;
  for (const std::string& word : ExecWords(UnescapedString(value), "%f", path)) command += ShellQuoted(word) + " ";
  return RunAndRead(command, log);
}

/// Starts a command line that puts the shell-quoted path in place of `code` and then splits the
/// result as the shell would (Nemo, after reading the string value; Thunar, which also takes %%).
std::string StartShellCommand(std::string command, const std::string& code, const std::string& path,
                              const std::string& log) {
  command.replace(command.find(code), code.size(), ShellQuoted(path));
  return RunAndRead(command, log);
}

/// The text of an XML element's content.
std::string XmlUnescaped(std::string text) {
  for (const auto& [entity, c] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::string(entity).size(), c);
    }
  }
  return text;
}

/// A Thunar command with the shell-quoted path in place of %f and % for %%, as Thunar runs it.
std::string ThunarCommandLine(const std::string& command, const std::string& path) {
  std::string line;
  for (size_t i = 0; i < command.size(); ++i) {
    if (command[i] != '%') {
      line += command[i];
      continue;
    }
    const char code = i + 1 < command.size() ? command[++i] : '\0';
    EXPECT_TRUE(code == 'f' || code == '%') << command;
    line += code == 'f' ? ShellQuoted(path) : std::string(1, code);
  }
  return line;
}

/// The content of the first `tag` element of our Thunar action in `list`.
std::string ThunarActionField(const std::string& list, const std::string& tag) {
  const size_t action = list.find(std::string("<unique-id>") + kThunarActionId);
  const size_t start = list.find("<" + tag + ">", list.rfind("<action>", action));
  if (action == std::string::npos || start == std::string::npos) return "(none)";
  const size_t from = start + tag.size() + 2;
  return XmlUnescaped(list.substr(from, list.find("</" + tag + ">", from) - from));
}

/// A program that writes down the arguments it was started with, one a line.
std::string AddLoggingProgram(test::TempFolder& scratch, const std::string& relative, const std::string& log) {
  const std::string program = scratch.AddFile(relative, "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + ShellQuoted(log) +
                                                            ".new && mv " + ShellQuoted(log) + ".new " +
                                                            ShellQuoted(log) + "\n");
  chmod(program.c_str(), 0755);
  return program;
}

/// The paths of everything below `folder`.
std::vector<std::string> Contents(const std::string& folder) {
  std::vector<std::string> left;
  for (const auto& item : fs::recursive_directory_iterator(folder)) left.push_back(item.path().string());
  return left;
}

TEST(DesktopContextMenuEntryTest, InstallsAValidEntryAndRemovingLeavesNothing) {
  test::TempFolder scratch;
  const std::string data = scratch.AddFolder("data");
  const std::string config = scratch.AddFolder("config");
  ScopedEnv home("HOME", scratch.AddFolder("home").c_str());
  ScopedEnv dataHome("XDG_DATA_HOME", data.c_str());
  ScopedEnv configHome("XDG_CONFIG_HOME", config.c_str());
  ScopedEnv configDirs("XDG_CONFIG_DIRS", scratch.AddFolder("etc").c_str());
  // A program in a build folder, at a path that every quoting must carry through.
  const std::string log = scratch.Path() + "arguments";
  const std::string program = AddLoggingProgram(scratch, "build/it's $HOME 100% \"x\" `y`/nomvarix", log);
  const std::string clicked = scratch.AddFolder("photos 2024") + "a b.jpg";
  const auto entry = MakeNativeContextMenuEntry();
  EXPECT_FALSE(entry->IsInstalledForUser());

  ASSERT_EQ(entry->Install(std::u16string(program.begin(), program.end())), Result::kAddedForUninstalled);
  EXPECT_TRUE(entry->IsInstalledForUser());
  EXPECT_TRUE(entry->IsShown());
  for (const FileManagerEntryFile& file : FileManagerEntryFiles(program)) {
    const std::string base = file.base == EntryBase::kConfig ? "config/" : "data/";
    EXPECT_EQ(scratch.ReadFile(base + file.relativePath), file.content) << file.relativePath;
    EXPECT_EQ(IsExecutable(scratch.Path() + base + file.relativePath), file.executable) << file.relativePath;
  }

  // The desktop entry: valid without a single complaint, and for no type of file or folder.
  const std::string desktopEntry = data + kDesktopEntryPath;
  const ShellRun validation = RunShell("desktop-file-validate " + ShellQuoted(desktopEntry));
  EXPECT_EQ(validation.status, 0);
  EXPECT_EQ(validation.output, "");
  KeyFile keys = ParseKeyFile(scratch.ReadFile(std::string("data/") + kDesktopEntryPath));
  EXPECT_EQ(keys["Desktop Entry"]["Name"], "Open Folder in Nomvarix");
  EXPECT_EQ(keys["Desktop Entry"]["Icon"], "nomvarix-open-folder");
  EXPECT_EQ(StartExec(keys["Desktop Entry"]["Exec"], clicked, log), clicked + "\n");
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
    EXPECT_EQ(StartExec(keys["Desktop Action openInNomvarix"]["Exec"], clicked, log), clicked + "\n");
  }

  // The Nemo action.
  keys = ParseKeyFile(scratch.ReadFile("data/nemo/actions/nomvarix-open-folder.nemo_action"));
  EXPECT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys["Nemo Action"]["Selection"], "s");
  EXPECT_EQ(keys["Nemo Action"]["Extensions"], "any;");
  EXPECT_EQ(StartShellCommand(UnescapedString(keys["Nemo Action"]["Exec"]), "%F", clicked, log), clicked + "\n");

  // Thunar's custom action, in a list of its own since the user had none.
  const std::string thunar = scratch.ReadFile("config/Thunar/uca.xml");
  EXPECT_EQ(ThunarActionField(thunar, "name"), "Open Folder in Nomvarix");
  EXPECT_EQ(RunAndRead(ThunarCommandLine(ThunarActionField(thunar, "command"), clicked), log), clicked + "\n");

  // The GNOME Files and Caja scripts, started in the folder shown with the selected name, or with none.
  for (const std::string& script : {data + "nautilus/scripts/Open Folder in Nomvarix",
                                   config + "caja/scripts/Open Folder in Nomvarix"}) {
    EXPECT_EQ(RunShell("sh -n " + ShellQuoted(script)).status, 0);
    const std::string folder = fs::path(clicked).parent_path().string();
    EXPECT_EQ(RunAndRead("cd " + ShellQuoted(folder) + " && " + ShellQuoted(script) + " 'a b.jpg'", log),
              clicked + "\n");
    EXPECT_EQ(RunAndRead("cd " + ShellQuoted(folder) + " && " + ShellQuoted(script), log), folder + "/.\n");
  }

  // An older version's entry named folders in the desktop's MIME cache: removing takes it out, and
  // the cache with it when it held nothing else.
  RunShell("update-desktop-database -q " + ShellQuoted(data + "applications"));
  std::ofstream(data + "applications/mimeinfo.cache", std::ios::app)
      << "inode/directory=nomvarix-open-folder.desktop;\n";
  entry->Remove();
  EXPECT_FALSE(entry->IsInstalledForUser());
  EXPECT_EQ(Contents(data), std::vector<std::string>{});
  EXPECT_EQ(Contents(config), std::vector<std::string>{});
}

TEST(DesktopContextMenuEntryTest, EveryEntryStartsTheProgramWhateverCharactersItsPathHolds) {
  // Each is one folder of the program's path; the clicked folder carries the same characters.
  const std::vector<std::string> hostile = {
      "100% sure",   "%f and %%",  "back\\slash", "ends in \\",   "two  spaces", "it's",
      "\"quoted\"",  "$HOME ${x}", "`id` $(id)",  "tab\there",    "semi;colon", "a&b <c>",
      "été 日記 🎉", "#hash",      "=equals",     "star * ? [x]",
  };
  for (const std::string& name : hostile) {
    SCOPED_TRACE(name);
    test::TempFolder scratch;
    const std::string data = scratch.AddFolder("data");
    const std::string config = scratch.AddFolder("config");
    ScopedEnv home("HOME", scratch.AddFolder("home").c_str());
    ScopedEnv dataHome("XDG_DATA_HOME", data.c_str());
    ScopedEnv configHome("XDG_CONFIG_HOME", config.c_str());
    ScopedEnv configDirs("XDG_CONFIG_DIRS", scratch.AddFolder("etc").c_str());
    const std::string log = scratch.Path() + "arguments";
    const std::string program = AddLoggingProgram(scratch, name + "/nomvarix", log);
    std::string clicked = scratch.AddFolder("clicked " + name);
    clicked.pop_back();  // as file managers and GLib give folders
    const auto entry = MakeNativeContextMenuEntry();
    ASSERT_NE(entry->Install(FromUtf8(program)), Result::kFailed);

    const std::string desktopEntry = data + kDesktopEntryPath;
    const ShellRun validation = RunShell("desktop-file-validate " + ShellQuoted(desktopEntry));
    EXPECT_EQ(validation.status, 0);
    EXPECT_EQ(validation.output, "");
    KeyFile keys = ParseKeyFile(ReadAll(desktopEntry));
    EXPECT_EQ(UnescapedString(keys["Desktop Entry"]["TryExec"]), program);
    EXPECT_EQ(StartExec(keys["Desktop Entry"]["Exec"], clicked, log), clicked + "\n");
    // GLib's own reading of the entry, as the desktop starts it.
    EXPECT_EQ(RunAndRead("gio launch " + ShellQuoted(desktopEntry) + " " + ShellQuoted(clicked) +
                             " && i=0 && while [ ! -e " + ShellQuoted(log) + " ] && [ $i -lt 1000 ]; do i=$((i+1)); "
                             "sleep 0.01; done",
                         log),
              clicked + "\n");
    keys = ParseKeyFile(ReadAll(data + "kio/servicemenus/nomvarix-open-folder.desktop"));
    EXPECT_EQ(StartExec(keys["Desktop Action openInNomvarix"]["Exec"], clicked, log), clicked + "\n");
    keys = ParseKeyFile(ReadAll(data + "nemo/actions/nomvarix-open-folder.nemo_action"));
    EXPECT_EQ(StartShellCommand(UnescapedString(keys["Nemo Action"]["Exec"]), "%F", clicked, log), clicked + "\n");
    const std::string thunar = ThunarActionField(ReadAll(config + "Thunar/uca.xml"), "command");
    EXPECT_EQ(RunAndRead(ThunarCommandLine(thunar, clicked), log), clicked + "\n");
    EXPECT_EQ(RunAndRead("cd " + ShellQuoted(clicked) + " && " + ShellQuoted(config + "caja/scripts/Open Folder in Nomvarix"), log),
              clicked + "/.\n");
    entry->Remove();
    EXPECT_EQ(Contents(data), std::vector<std::string>{});
  }
}

TEST(DesktopContextMenuEntryTest, KeepsTheThunarActionsTheUserSees) {
  const std::string theirs =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action>\n\t<name>Open Terminal Here</name>\n"
      "\t<unique-id>1-1</unique-id>\n\t<command>exo-open --working-directory %f</command>\n</action>\n</actions>\n";
  // Thunar shows the system's list until the user has one of their own.
  for (const bool userHasList : {false, true}) {
    SCOPED_TRACE(userHasList ? "the user's own list" : "the system's list");
    test::TempFolder scratch;
    ScopedEnv home("HOME", scratch.AddFolder("home").c_str());
    ScopedEnv dataHome("XDG_DATA_HOME", scratch.AddFolder("data").c_str());
    const std::string config = scratch.AddFolder("config");
    ScopedEnv configHome("XDG_CONFIG_HOME", config.c_str());
    const std::string system = scratch.AddFolder("etc");
    ScopedEnv configDirs("XDG_CONFIG_DIRS", ("relative:" + system).c_str());
    scratch.AddFile(userHasList ? "config/Thunar/uca.xml" : "etc/Thunar/uca.xml", theirs);
    const std::string program = scratch.AddFile("bin/nomvarix");
    const auto entry = MakeNativeContextMenuEntry();

    ASSERT_NE(entry->Install(FromUtf8(program)), Result::kFailed);
    const std::string list = scratch.ReadFile("config/Thunar/uca.xml");
    EXPECT_NE(list.find("<name>Open Terminal Here</name>"), std::string::npos) << list;
    EXPECT_EQ(ThunarActionField(list, "command"), "'" + program + "' %f");
    ASSERT_NE(entry->Install(FromUtf8(program)), Result::kFailed);
    EXPECT_EQ(scratch.ReadFile("config/Thunar/uca.xml"), list) << "installed twice";

    entry->Remove();
    if (userHasList) {
      EXPECT_EQ(scratch.ReadFile("config/Thunar/uca.xml"), theirs);
    } else {
      EXPECT_EQ(Contents(config), std::vector<std::string>{});
      EXPECT_EQ(scratch.ReadFile("etc/Thunar/uca.xml"), theirs);
    }
  }
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
