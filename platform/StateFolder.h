#pragma once

#include <string>

namespace nomvarix {

/// The folder where the program keeps what must outlive a run, such as rename journals and unapplied
/// edits: $XDG_STATE_HOME/Nomvarix (by default ~/.local/state/Nomvarix) on POSIX systems,
/// %LOCALAPPDATA%\Nomvarix on Windows. Ends with a separator; empty when the system names no such
/// place. It may not exist yet.
std::u16string StateFolder();

}  // namespace nomvarix
