#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macro/KeyMacro.h"

namespace nomvarix {

class FileSystem;

inline constexpr std::u16string_view kNoMacroRecorded = u"No macro has been recorded.";
inline constexpr std::u16string_view kMacroSaveFailed = u"Failed to save macro.";
inline constexpr std::u16string_view kMacroLoadFailed = u"Failed to load macro.";

/// A .km file's text: one "key,state" line per event, CR LF after each. Digits and letters are
/// written as themselves, named keys as VK_ names, other codes in decimal (at least two digits, so
/// that a one-digit code is not read back as a digit key); states as DOWN or UP. A press that typed
/// a character is followed by a "CHAR,c" line: c is the character when it is printable ASCII, else
/// U+ and its four hex digits. Earlier readers skip those lines and still get every key.
///
///   Shift+A, Enter: "VK_SHIFT,DOWN\r\nA,DOWN\r\nA,UP\r\nVK_SHIFT,UP\r\nVK_RETURN,DOWN\r\nVK_RETURN,UP\r\n"
///   Shift+9 typing "(": "VK_SHIFT,DOWN\r\n9,DOWN\r\nCHAR,(\r\n9,UP\r\nVK_SHIFT,UP\r\n"
///   a German keyboard's key for "ä" (222): "222,DOWN\r\nCHAR,U+00E4\r\n222,UP\r\n"
std::string FormatMacro(const std::vector<KeyEvent>& events);
/// The events of a .km file's text (CR LF or LF line ends). Invalid lines are skipped; a CLICK
/// line gives a press and a release. Accepted spellings: the written ones, a single character in
/// either case, decimal codes; states DOWN/down/Down/D/d/1, UP/up/Up/U/u/0, CLICK/click/C. A CHAR
/// line that does not follow a press, or whose character is not one of the two forms, is skipped.
std::vector<KeyEvent> ParseMacro(std::string_view text);

/// Writes the events to `path`; false when the file cannot be written.
bool SaveMacroFile(FileSystem& fileSystem, std::u16string_view path, const std::vector<KeyEvent>& events);
/// The events of the file at `path`; empty when it cannot be read (an unreadable file and a file
/// without valid lines are told apart by the optional).
std::optional<std::vector<KeyEvent>> LoadMacroFile(const FileSystem& fileSystem, std::u16string_view path);

}  // namespace nomvarix
