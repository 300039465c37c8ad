#pragma once

#include <functional>
#include <optional>

#include "apply/InterruptedRename.h"

class wxWindow;

namespace nomvarix {

/// Asks what to do with the renames of an apply that was interrupted: undo them (the default) or
/// keep them. Empty for "Decide Later", Escape and the close box: the question comes back at the
/// next start.
std::optional<RecoveryChoice> AskAboutInterruptedRename(wxWindow* parent, const InterruptedRename& rename);

/// Sets right every apply that an earlier run left unfinished, asking about each, before anything is
/// loaded; returns the folder of the last one set right, to be opened (empty when there was none).
/// A journal whose folder cannot be read is kept unless the user drops it. What each recovery left
/// renamed goes to `record`, for the rename history.
std::u16string RecoverInterruptedRenames(wxWindow* parent, FileSystem& fileSystem,
                                         const std::function<void(HistoryEntry)>& record);

}  // namespace nomvarix
