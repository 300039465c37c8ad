#pragma once

#include <string>
#include <vector>

namespace nomvarix {

/// One file of the "Open Folder in Nomvarix" entries of the Linux file managers.
struct FileManagerEntryFile {
  /// Where it goes, relative to the user's data folder ($XDG_DATA_HOME).
  std::string relativePath;
  std::string content;
  bool executable = false;
};

/// The files that make file managers offer "Open Folder in Nomvarix" for folders and files of every
/// type and start `programPath` (bytes, absolute) with the clicked path: a hidden desktop entry that
/// names no type (so that it can never become the default program of one), the icon, a Dolphin
/// service menu (Plasma 6 and 5), a Nemo action and a GNOME Files script.
std::vector<FileManagerEntryFile> FileManagerEntryFiles(const std::string& programPath);

/// The desktop entry among them, whose presence means the entries are installed.
inline constexpr const char* kDesktopEntryPath = "applications/nomvarix-open-folder.desktop";

}  // namespace nomvarix
