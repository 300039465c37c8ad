#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apply/PendingEditMemory.h"
#include "platform/FileIdentity.h"

namespace nomvarix {

/// One unapplied edit kept between runs: the file's name on disk, its new name, and the file as it
/// was found when the edit was kept (none in files written before that was kept, or when the file
/// could not be read then).
struct SavedEdit {
  std::u16string original;
  std::u16string renamed;
  std::optional<FileStamp> stamp = {};
  friend bool operator==(const SavedEdit&, const SavedEdit&) = default;
};

/// Unapplied edits of several folders: for each folder path its edits in list order. A folder
/// without edits has no entry.
using FolderEdits = std::map<std::u16string, std::vector<SavedEdit>>;

/// Whether a name on disk read back from a saved-edits file can be a name in its folder: one
/// holding a path separator or NUL could reach outside it, and is refused. (A new name holding a
/// separator is an edit like any other: the apply refuses it.)
bool IsKeepableName(std::u16string_view name);

/// The version of the saved-edits file this program writes and reads.
inline constexpr int kSavedEditsVersion = 1;

/// A name as it is written into the saved-edits file: UTF-8 in which "%" and every lone surrogate
/// (an undecodable byte of a name on disk, U+DC80 + byte) are written as "%" and four hex digits
/// of the code unit, so that any UTF-16 text comes back exactly and the file stays valid UTF-8.
///   u"50% off"  -> "50%0025 off"        u"caf\xDCE9"  -> "caf%DCE9"
std::string EncodeSavedName(std::u16string_view name);
/// The name back from EncodeSavedName; nothing for text it cannot have written.
std::optional<std::u16string> DecodeSavedName(std::string_view text);

/// The saved-edits file: a JSON object {"version": 1, "folders": [{"folder": F, "edits":
/// [[original, new, stamp], ...]}, ...]} with every path and name written by EncodeSavedName. The
/// stamp, left out when unknown, is {"volume": V, "file": N, "size": S, "modified": M, "created": C}
/// with each attribute left out when unknown (times in nanoseconds since 1970). Files written
/// before stamps were kept hold pairs, which read as edits without one.
std::string WriteSavedEdits(const FolderEdits& folders);

/// What a saved-edits file holds.
struct SavedEditsContent {
  enum class Kind {
    Read,     ///< `folders` holds the file's edits (none for an empty file)
    Damaged,  ///< not a file this program wrote: nothing in it can be used
    Newer,    ///< written by a later version: read nothing, and leave it as it is
  } kind = Kind::Read;
  FolderEdits folders;
};
SavedEditsContent ReadSavedEdits(std::string_view bytes);

}  // namespace nomvarix
