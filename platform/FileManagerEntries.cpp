#include "platform/FileManagerEntries.h"

#include "platform/AppIconSvg.h"

namespace nomvarix {
namespace {

constexpr const char* kIconName = "nomvarix-open-folder";
constexpr const char* kTitle = "Open Folder in Nomvarix";

/// A path as a quoted argument of a desktop entry's Exec key (also read by Dolphin).
std::string DesktopExecArgument(const std::string& path) {
  std::string quoted = "\"";
  for (const char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + "\"";
}

/// A path as one single-quoted word of the POSIX shell (and of GLib's command-line parser).
std::string ShellWord(const std::string& path) {
  std::string quoted = "'";
  for (const char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

/// A path as the value of a desktop entry's TryExec key: a string, whose backslashes are escaped.
std::string DesktopStringValue(const std::string& path) {
  std::string escaped;
  for (const char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return escaped;
}

// Names no MIME type: a desktop entry that does could become the program that opens every folder
// (GLib picks one of the entries that name a type when the user chose none). The file managers
// offer the renamer through their own actions below; this entry marks the integration as turned
// on, and TryExec hides it once the program is gone.
std::string DesktopEntry(const std::string& programPath) {
  return std::string("[Desktop Entry]\n"
                     "Type=Application\n"
                     "Name=") +
         kTitle +
         "\n"
         "Comment=Rename the files of a folder in Nomvarix\n"
         "TryExec=" +
         DesktopStringValue(programPath) +
         "\n"
         "Exec=" +
         DesktopExecArgument(programPath) +
         " %f\n"
         "Icon=" +
         kIconName +
         "\n"
         "Terminal=false\n"
         "NoDisplay=true\n";
}

// Dolphin honours its own all/all and all/allfiles there, which take in folders and every file.
std::string DolphinServiceMenu(const std::string& programPath) {
  return std::string("[Desktop Entry]\n"
                     "Type=Service\n"
                     "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
                     "MimeType=inode/directory;all/allfiles;\n"
                     "Actions=openInNomvarix;\n"
                     "\n"
                     "[Desktop Action openInNomvarix]\n"
                     "Name=") +
         kTitle + "\nIcon=" + kIconName + "\nExec=" + DesktopExecArgument(programPath) + " %f\n";
}

std::string NemoAction(const std::string& programPath) {
  return std::string("[Nemo Action]\n"
                     "Name=") +
         kTitle +
         "\n"
         "Comment=Rename the files of a folder in Nomvarix\n"
         "Exec=" +
         ShellWord(programPath) +
         " %F\n"
         "Icon-Name=" +
         kIconName +
         "\n"
         "Selection=s\n"
         "Extensions=any;\n"
         "Quote=double\n";
}

// GNOME Files starts a script in the folder shown, with the selected names as arguments.
std::string GnomeFilesScript(const std::string& programPath) {
  return "#!/bin/sh\n"
         "# Opens the selected folder or file in Nomvarix, or else the folder shown.\n"
         "target=${1:-.}\n"
         "case $target in /*) ;; *) target=$PWD/$target ;; esac\n"
         "exec " +
         ShellWord(programPath) + " \"$target\"\n";
}

}  // namespace

std::vector<FileManagerEntryFile> FileManagerEntryFiles(const std::string& programPath) {
  const std::string serviceMenu = DolphinServiceMenu(programPath);
  return {
      {kDesktopEntryPath, DesktopEntry(programPath)},
      {std::string("icons/hicolor/scalable/apps/") + kIconName + ".svg", std::string(AppIconSvg())},
      // Plasma 6 runs only service menus that are executable.
      {"kio/servicemenus/nomvarix-open-folder.desktop", serviceMenu, true},
      {"kservices5/ServiceMenus/nomvarix-open-folder.desktop", serviceMenu},
      {"nemo/actions/nomvarix-open-folder.nemo_action", NemoAction(programPath)},
      {std::string("nautilus/scripts/") + kTitle, GnomeFilesScript(programPath), true},
  };
}

}  // namespace nomvarix
