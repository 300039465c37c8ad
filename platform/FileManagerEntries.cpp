#include "platform/FileManagerEntries.h"

#include "platform/AppIconSvg.h"

namespace nomvarix {
namespace {

constexpr const char* kIconName = "nomvarix-open-folder";
constexpr const char* kTitle = "Open Folder in Nomvarix";

/// A text as the value of a desktop entry's string key (the same escapes hold in service menus and
/// Nemo actions): a backslash is written as two, a line break, tab or carriage return as \n, \t, \r.
std::string DesktopStringValue(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\t': escaped += "\\t"; break;
      case '\r': escaped += "\\r"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

/// A path as one double-quoted argument of a desktop entry's Exec key (also read by Dolphin), as
/// written in the file. Two layers of escapes: the argument's own (a backslash before " ` $ \ and
/// %% for a percent sign, which would otherwise start a field code), then the string value's on top
/// of that. So the path  a\b$  becomes  "a\\\\b\\$"  in the file.
std::string DesktopExecArgument(const std::string& path) {
  std::string quoted;
  for (const char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  std::string argument = "\"";
  argument += DesktopStringValue(quoted);
  return argument += '"';
}

/// The program of a desktop entry's Exec key (also read by Dolphin), as written in the file. GLib
/// hides an entry whose program it cannot find, and looks for it before it turns %% into %: a
/// program path holding a percent sign is therefore started through `env`, which GLib finds.
std::string DesktopExecProgram(const std::string& path) {
  const std::string program = DesktopExecArgument(path);
  return path.find('%') == std::string::npos ? program : "env " + program;
}

/// A path as one single-quoted word of the POSIX shell (and of GLib's command-line parser).
std::string ShellWord(const std::string& path) {
  std::string quoted = "'";
  for (const char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

/// Text as the content of an XML element.
std::string XmlText(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      default: escaped += c;
    }
  }
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
         DesktopExecProgram(programPath) +
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
         kTitle + "\nIcon=" + kIconName + "\nExec=" + DesktopExecProgram(programPath) + " %f\n";
}

std::string NemoAction(const std::string& programPath) {
  return std::string("[Nemo Action]\n"
                     "Name=") +
         kTitle +
         "\n"
         "Comment=Rename the files of a folder in Nomvarix\n"
         "Exec=" +
         DesktopStringValue(ShellWord(programPath)) +
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

// Thunar puts the clicked path, shell-quoted, in place of %f and splits the command as the shell
// would; a percent sign of its own is written %%.
std::string ThunarCommand(const std::string& programPath) {
  std::string command;
  for (const char c : ShellWord(programPath)) command += c == '%' ? std::string("%%") : std::string(1, c);
  return command + " %f";
}

}  // namespace

std::string ThunarActionElement(const std::string& programPath) {
  return std::string("<action>\n"
                     "\t<icon>") +
         kIconName + "</icon>\n\t<name>" + kTitle + "</name>\n\t<submenu></submenu>\n\t<unique-id>" +
         kThunarActionId + "</unique-id>\n\t<command>" + XmlText(ThunarCommand(programPath)) +
         "</command>\n"
         "\t<description>Rename the files of a folder in Nomvarix</description>\n"
         "\t<range>1</range>\n"
         "\t<patterns>*</patterns>\n"
         "\t<startup-notify/>\n"
         "\t<directories/>\n"
         "\t<audio-files/>\n"
         "\t<image-files/>\n"
         "\t<other-files/>\n"
         "\t<text-files/>\n"
         "\t<video-files/>\n"
         "</action>\n";
}

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
      // Caja starts its scripts as GNOME Files does, but finds them among the user's settings.
      {std::string("caja/scripts/") + kTitle, GnomeFilesScript(programPath), true, EntryBase::kConfig},
  };
}

}  // namespace nomvarix
