#pragma once

#include <string>
#include <vector>

namespace nomvarix {

/// The user's folder an entry file goes below.
enum class EntryBase {
  kData,    ///< $XDG_DATA_HOME, by default ~/.local/share
  kConfig,  ///< $XDG_CONFIG_HOME, by default ~/.config
};

/// One file of the "Open Folder in Nomvarix" entries of the Linux file managers.
struct FileManagerEntryFile {
  /// Where it goes, relative to `base`.
  std::string relativePath;
  std::string content;
  bool executable = false;
  EntryBase base = EntryBase::kData;
};

/// The files that make file managers offer "Open Folder in Nomvarix" for folders and files of every
/// type and start `programPath` (bytes, absolute) with the clicked path: a hidden desktop entry that
/// names no type (so that it can never become the default program of one), the icon, a Dolphin
/// service menu (Plasma 6 and 5), a Nemo action, a GNOME Files script and a Caja script. Thunar's
/// action is not a file of its own: see ThunarActionList.h.
std::vector<FileManagerEntryFile> FileManagerEntryFiles(const std::string& programPath);

/// The Thunar custom action (one <action> element of its uca.xml) that opens the clicked folder or
/// file in `programPath`.
std::string ThunarActionElement(const std::string& programPath);

/// The unique-id of that action, by which it is found again among the user's own.
inline constexpr const char* kThunarActionId = "nomvarix-open-folder";

/// The desktop entry among them, whose presence means the entries are installed.
inline constexpr const char* kDesktopEntryPath = "applications/nomvarix-open-folder.desktop";

}  // namespace nomvarix
