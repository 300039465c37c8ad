#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nomvarix {

/// What a command that went through has to tell the user: a line for the status bar (empty when
/// there is nothing to tell), and whether it matters enough for a message box as well.
struct CommandNote {
  std::u16string status;
  bool asMessage = false;

  bool operator==(const CommandNote&) const = default;
};

/// `count` with a comma between each group of three digits: 9990 gives "9,990".
std::u16string GroupedCount(std::size_t count);

/// After an insertion of `what` ("date taken", "creation date", "image size") from the files of
/// `reached` lines, `missing` of which had none: "3 of 400 files have no date taken; their lines
/// were left as they were." A message box too for more than a few such lines. Nothing to tell
/// when every file had one.
CommandNote LinesWithoutValueNote(std::size_t missing, std::size_t reached, std::u16string_view what);

/// After a command padded `padded` lines with spaces: "2 lines were padded with spaces; a name that
/// starts with a space is reported by Validate Changes." A message box too when `unasked` (the
/// padding was a side effect, not what the command is for). Nothing to tell for none.
CommandNote PaddedLinesNote(std::size_t padded, bool unasked);

}  // namespace nomvarix
