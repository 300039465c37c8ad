#pragma once

#include "apply/InterruptedRename.h"

class wxWindow;

namespace nomvarix {

/// Asks what to do with the renames of an apply that was interrupted: undo them (the default) or
/// keep them.
RecoveryChoice AskAboutInterruptedRename(wxWindow* parent, const InterruptedRename& rename);

/// Sets right every apply that an earlier run left unfinished, asking about each, before anything is
/// loaded; returns the folder of the last one set right, to be opened (empty when there was none).
std::u16string RecoverInterruptedRenames(wxWindow* parent, FileSystem& fileSystem);

}  // namespace nomvarix
