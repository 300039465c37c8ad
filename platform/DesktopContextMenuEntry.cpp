// The file-manager entries on Linux and other XDG desktops: the files of FileManagerEntries in the
// user's data folder.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

#include "platform/ContextMenuEntry.h"
#include "platform/FileManagerEntries.h"
#include "platform/ThunarActionList.h"
#include "platform/XdgFolder.h"
#include "text/Utf16.h"

extern char** environ;

namespace nomvarix {
namespace {

namespace fs = std::filesystem;

constexpr ContextMenuEntry::Texts kTexts{
    u"Add Nomvarix to file manager context menu?\n\nThis will allow you to right-click folders and files to open "
    u"them in Nomvarix.",
    u"Successfully added to file manager context menu:\n'Open Folder in Nomvarix'",
    u"Successfully added to file manager context menu:\n'Open Folder in Nomvarix'\n\nThis copy of Nomvarix does not "
    u"run from an installation, so the entry starts it where it is now and stops working when it is moved or "
    u"deleted. Choose the command again in the installed program to make the entry start that one.",
    u"Failed to modify file manager integration.\n\nPlease check that your data folder (~/.local/share) can be "
    u"written.",
    u"Successfully removed from file manager context menu.",
};

/// $XDG_DATA_HOME, by default ~/.local/share.
fs::path DataFolder() { return XdgBaseFolder("XDG_DATA_HOME", ".local/share"); }

/// $XDG_CONFIG_HOME, by default ~/.config.
fs::path ConfigFolder() { return XdgBaseFolder("XDG_CONFIG_HOME", ".config"); }

fs::path BaseFolder(EntryBase base) { return base == EntryBase::kConfig ? ConfigFolder() : DataFolder(); }

constexpr const char* kThunarActionFile = "Thunar/uca.xml";

/// The content of `file`, or "" when it cannot be read.
std::string ReadWholeFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

/// The actions file that Thunar reads while the user has none: the first of $XDG_CONFIG_DIRS (by
/// default /etc/xdg) that holds one. Its content, or "" for none.
std::string SystemThunarActions() {
  const char* dirs = std::getenv("XDG_CONFIG_DIRS");
  const std::string list = dirs && *dirs ? dirs : "/etc/xdg";
  for (std::size_t start = 0; start <= list.size();) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    const fs::path dir = list.substr(start, end - start);
    std::error_code error;
    if (dir.is_absolute() && fs::is_regular_file(dir / kThunarActionFile, error)) {
      return ReadWholeFile(dir / kThunarActionFile);
    }
    start = end + 1;
  }
  return {};
}

/// Whether `program` lies in <prefix>/bin of a prefix that holds its desktop file, as an
/// installation (a package, `cmake --install`) puts it; a build folder does not.
bool IsInstalledProgram(const fs::path& program) {
  std::error_code error;
  const fs::path folder = program.parent_path();
  return folder.filename() == "bin" &&
         fs::is_regular_file(folder.parent_path() / "share/applications/nomvarix.desktop", error);
}

bool WriteFile(const fs::path& file, const FileManagerEntryFile& entry) {
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  const fs::path temporary = fs::path(file).concat(".new");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << entry.content;
    if (!out.flush()) return false;
  }
  if (entry.executable) {
    fs::permissions(temporary, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, error);
  }
  fs::rename(temporary, file, error);
  if (error) fs::remove(temporary, error);
  return !error;
}

/// Removes `folder` and its parents below `top` (never `top` itself) while they are empty.
void RemoveEmptyFolders(fs::path folder, fs::path top) {
  std::error_code error;
  if (!top.has_filename()) top = top.parent_path();  // a closing separator
  while (folder != top && folder.has_relative_path() && fs::is_empty(folder, error) && !error) {
    if (!fs::remove(folder, error)) return;
    folder = folder.parent_path();
  }
}

/// Takes an entry of an older version out of the desktop's MIME cache, which named it for folders,
/// and removes the cache when nothing else is left in it.
void ForgetMimeTypes(const fs::path& applications) {
  const fs::path cache = applications / "mimeinfo.cache";
  std::error_code error;
  if (!fs::is_regular_file(cache, error)) return;
  const std::string folder = applications.string();
  char* argv[] = {const_cast<char*>("update-desktop-database"), const_cast<char*>("-q"),
                  const_cast<char*>(folder.c_str()), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv, environ) == 0) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }
  std::ifstream in(cache, std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), {});
  if (content.find_first_not_of(" \t\r\n", content.find(']') + 1) == std::string::npos) fs::remove(cache, error);
}

/// Adds our Thunar action to the user's actions file, starting from the system's list (which the
/// user sees as long as they have no file of their own) so that its actions stay. A file that is
/// not an actions list is the user's business and is left alone.
bool AddThunarAction(const std::string& programPath) {
  const fs::path file = ConfigFolder() / kThunarActionFile;
  std::error_code error;
  const std::string old = fs::exists(file, error) ? ReadWholeFile(file) : SystemThunarActions();
  const std::optional<std::string> list = WithThunarAction(old, ThunarActionElement(programPath));
  return !list || WriteFile(file, {kThunarActionFile, *list});
}

/// Takes our action out of the user's Thunar actions file; the file goes too when what is left is
/// what Thunar would show without it.
void RemoveThunarAction() {
  const fs::path config = ConfigFolder();
  const fs::path file = config / kThunarActionFile;
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return;
  const std::string old = ReadWholeFile(file);
  const std::string list = WithoutThunarAction(old);
  if (list == old) return;
  if (list == kEmptyThunarActionList || list == SystemThunarActions()) {
    fs::remove(file, error);
    RemoveEmptyFolders(file.parent_path(), config);
  } else {
    WriteFile(file, {kThunarActionFile, list});
  }
}

class DesktopContextMenuEntry final : public ContextMenuEntry {
 public:
  bool IsShown() const override { return IsInstalledForUser(); }

  bool IsInstalledForUser() const override {
    std::error_code error;
    return fs::is_regular_file(DataFolder() / kDesktopEntryPath, error);
  }

  InstallResult Install(std::u16string_view programPath) override {
    const std::string program = ToUtf8(programPath);
    for (const FileManagerEntryFile& entry : FileManagerEntryFiles(program)) {
      if (!WriteFile(BaseFolder(entry.base) / entry.relativePath, entry)) return InstallResult::kFailed;
    }
    if (!AddThunarAction(program)) return InstallResult::kFailed;
    return IsInstalledProgram(program) ? InstallResult::kAdded : InstallResult::kAddedForUninstalled;
  }

  void Remove() override {
    const fs::path data = DataFolder();
    std::error_code error;
    for (const FileManagerEntryFile& entry : FileManagerEntryFiles({})) {
      const fs::path base = BaseFolder(entry.base);
      const fs::path file = base / entry.relativePath;
      fs::remove(file, error);
      RemoveEmptyFolders(file.parent_path(), base);
    }
    RemoveThunarAction();
    ForgetMimeTypes(data / "applications");
    RemoveEmptyFolders(data / "applications", data);
  }

  const Texts& Messages() const override { return kTexts; }
};

}  // namespace

std::unique_ptr<ContextMenuEntry> MakeNativeContextMenuEntry() { return std::make_unique<DesktopContextMenuEntry>(); }

}  // namespace nomvarix
