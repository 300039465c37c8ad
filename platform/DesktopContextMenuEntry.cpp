// The file-manager entry on Linux and other XDG desktops: a desktop file in the user's
// applications folder that opens folders and files with the program, kept out of the menus.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/ContextMenuEntry.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

namespace fs = std::filesystem;

constexpr ContextMenuEntry::Texts kTexts{
    u"Add Nomvarix to file manager context menu?\n\nThis will allow you to right-click folders and files to open "
    u"them in Nomvarix.",
    u"Successfully added to file manager context menu:\n'Open Folder in Nomvarix'",
    u"Failed to modify file manager integration.\n\nPlease check that your applications folder can be written.",
    u"Successfully removed from file manager context menu.",
};

/// $XDG_DATA_HOME/applications, by default ~/.local/share/applications.
fs::path ApplicationsFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') return fs::path(data) / "applications";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/") / ".local/share/applications";
}

fs::path EntryFile() { return ApplicationsFolder() / "nomvarix-open-folder.desktop"; }

/// A path as a quoted argument of a desktop entry's Exec key.
std::string QuotedExecArgument(const std::string& path) {
  std::string quoted = "\"";
  for (const char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + "\"";
}

class DesktopContextMenuEntry final : public ContextMenuEntry {
 public:
  bool IsShown() const override { return IsInstalledForUser(); }

  bool IsInstalledForUser() const override {
    std::error_code error;
    return fs::is_regular_file(EntryFile(), error);
  }

  bool Install(std::u16string_view programPath) override {
    std::error_code error;
    fs::create_directories(ApplicationsFolder(), error);
    const fs::path file = EntryFile();
    const fs::path temporary = fs::path(file).concat(".new");
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      out << "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Open Folder in Nomvarix\n"
             "Comment=Rename the files of a folder in Nomvarix\n"
          << "Exec=" << QuotedExecArgument(ToUtf8(programPath)) << " %f\n"
          << "Icon=nomvarix\n"
             "Terminal=false\n"
             "NoDisplay=true\n"
             "MimeType=inode/directory;application/octet-stream;\n";
      if (!out.flush()) return false;
    }
    fs::rename(temporary, file, error);
    if (error) fs::remove(temporary, error);
    return IsInstalledForUser();
  }

  void Remove() override {
    std::error_code error;
    fs::remove(EntryFile(), error);
  }

  const Texts& Messages() const override { return kTexts; }
};

}  // namespace

std::unique_ptr<ContextMenuEntry> MakeNativeContextMenuEntry() { return std::make_unique<DesktopContextMenuEntry>(); }

}  // namespace nomvarix
