#pragma once

#include <optional>

namespace nomvarix {

class CommandStrip;

/// Numbers of the editor view's strip buttons.
namespace strip {
enum : int {
  kName = 1,
  kExtension = 2,
  kApply = 3,
  kRevert = 4,
  kValidate = 5,
  kRightAlign = 6,
  kLeftAlign = 7,
  kTools = 100,
  kAi = 101,
  kFilter = 110,
  kUndo = 200,
  kRedo = 201,
  kCopy = 202,
  kPaste = 203,
  kRecord = 204,
  kPlay = 205,
  kMacro = 206,
};
/// The menu the "Tools" button shows.
inline constexpr int kToolsMenu = 313;
}  // namespace strip

/// The check boxes "Name" and ".ext" of the scope strip, both checked.
void AddScopeButtons(CommandStrip& strip);
/// The buttons of the command strip from "Filter" to "Apply", in their order on screen: "Apply"
/// at the right end, where it stays when "Revert" shows up beside it.
void AddCommandButtons(CommandStrip& strip);
/// The command a command-strip button sends; none for the group, drop-down and scope buttons.
std::optional<int> CommandOfStripButton(unsigned id);

}  // namespace nomvarix
