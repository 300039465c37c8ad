#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apply/RenameOrder.h"
#include "editor/NameEntry.h"
#include "platform/FileSystem.h"

namespace nomvarix {

class LockedFile;

/// One planned rename: the file, its identity and attributes as they were before the apply, and
/// its names.
struct JournalStep {
  FileIdentity identity;
  std::u16string before;
  std::u16string after;
  /// The name a new spelling passes through on its way; empty when the rename goes directly.
  std::u16string temporary;
  /// Empty in a journal written before they were kept: then they cannot be compared.
  FileAttributes attributes;
  friend bool operator==(const JournalStep&, const JournalStep&) = default;
};

/// What an apply is about to do in one folder, kept on disk until it has finished, so that a run
/// that ended half way can be found and set right by the next. The steps come in the order of
/// renaming; a file parked under its temporary name to open a cycle comes before the files of its
/// cycle.
struct RenameJournal {
  std::u16string folder;  ///< ends with a separator
  std::vector<JournalStep> steps;
  friend bool operator==(const RenameJournal&, const RenameJournal&) = default;
};

/// The journal and the temporary name reserved per line, as RenameFiles takes them.
struct RenamePlan {
  RenameJournal journal;
  std::vector<std::u16string> temporaries;
  RenameOrder order;
  /// Per line: its step in the journal; kNoLine for none.
  std::vector<std::uint32_t> stepOfLine;
};

/// A step for every changed line whose file exists and is still the one listed, in the order of
/// renaming (OrderRenames); a line whose new name may be a new spelling of its name, and a line
/// whose file opens a cycle, gets a temporary name of its own, free on disk.
RenamePlan PlanRenames(const NameList& names, std::u16string_view folder, const FileSystem& fileSystem);

/// The journal as versioned JSON (see the README). A name that is not valid Unicode (an escaped
/// undecodable byte, a lone surrogate) is written as its UTF-16 code units, so any name survives.
std::string JournalText(const RenameJournal& journal);

/// The journal from its text; empty when the text is not a journal of a version this program reads,
/// or when a name in it could reach outside its folder (holds a separator or NUL, or is "." or "..").
std::optional<RenameJournal> ParseJournal(std::string_view text);

/// Where journals live: the state folder given. A new journal's path is unique to this process.
std::u16string NewJournalPath(std::u16string_view stateFolder);

/// Writes the journal to a new file in the state folder, on the disk and locked for as long as the
/// result lives; null when it could not be written.
std::unique_ptr<LockedFile> WriteJournal(const RenameJournal& journal, std::u16string_view stateFolder);
/// As above; when it could not be written, `why` says why in words for the user.
std::unique_ptr<LockedFile> WriteJournal(const RenameJournal& journal, std::u16string_view stateFolder,
                                         std::u16string& why);

/// The question asked before an apply that no journal protects.
std::u16string UnprotectedApplyQuestion(std::u16string_view why);

/// The journals lying in the state folder, in no particular order.
std::vector<std::u16string> JournalPaths(const FileSystem& fileSystem, std::u16string_view stateFolder);

}  // namespace nomvarix
