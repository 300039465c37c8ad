#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileIdentity.h"

namespace nomvarix {

class FileSystem;

/// The file, in the state folder, that holds the rename history.
inline constexpr std::u16string_view kRenameHistoryFileName = u"RenameHistory.json";

/// What made a history entry.
enum class HistoryKind {
  Apply,     ///< "Apply Changes" (a revert is applied the same way)
  Undo,      ///< an undo of an earlier entry, chosen in the history
  Recovery,  ///< an interrupted apply set right at the next start
};

/// One file of an entry: the file, and the name it had before and after.
struct HistoryFile {
  FileIdentity identity;
  std::u16string oldName;
  std::u16string newName;
  friend bool operator==(const HistoryFile&, const HistoryFile&) = default;
};

/// One finished rename of files in one folder.
struct HistoryEntry {
  std::string id;                 ///< unique among entries (NewHistoryEntryId)
  std::int64_t time = 0;          ///< when it finished, seconds since 1970 (UTC)
  HistoryKind kind = HistoryKind::Apply;
  std::u16string folder;          ///< ends with a separator
  std::string undoes;             ///< for an undo, the id of the entry it undid
  std::vector<HistoryFile> files; ///< in the order they were renamed
  friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

/// A fresh entry id: 16 random hex digits.
std::string NewHistoryEntryId();

/// A new entry of `kind` with a fresh id, finished now.
HistoryEntry NewHistoryEntry(HistoryKind kind, std::u16string_view folder, std::vector<HistoryFile> files);

/// How much history is kept: the newest entries up to both bounds, the oldest dropped first.
struct HistoryBounds {
  std::size_t entries = 200;
  std::size_t bytes = std::size_t{50} << 20;
};

/// The entries as versioned JSON. Each name is written as NameJson writes it, so that a name that
/// is not valid text comes back exactly.
std::string HistoryText(const std::vector<HistoryEntry>& entries);

/// What a history file holds.
struct HistoryContent {
  enum class Kind {
    Read,     ///< `entries` holds the file's entries, oldest first (none for an empty file)
    Damaged,  ///< not a history this program wrote, or one whose names could reach outside their folder
    Newer,    ///< written by a later version: read nothing, and leave it as it is
  } kind = Kind::Read;
  std::vector<HistoryEntry> entries;
};
HistoryContent ParseHistory(std::string_view text);

/// `entries` (oldest first) without the oldest ones that go beyond `bounds`; the text of each entry
/// counts for its share of the bytes. The newest entry always stays.
std::vector<HistoryEntry> BoundedHistory(std::vector<HistoryEntry> entries, const HistoryBounds& bounds);

/// The rename history of every running instance, in one file of the state folder. Every change
/// rewrites the file whole under the lock that UpdateSharedFile takes, so that two instances that
/// append at the same time keep each other's entries. A file that cannot be this program's history
/// (damaged, of another format, no regular file, a link to a device, far too large) is never
/// trusted: it is set aside as "<name>.bad" beside it and the user is told; one written by a later
/// version is left as it is and nothing is written to it.
class RenameHistory {
 public:
  /// The history in `stateFolder` (ending with a separator; empty: none is kept).
  RenameHistory(std::u16string stateFolder, FileSystem& fileSystem, HistoryBounds bounds = {});

  const std::u16string& Path() const { return path_; }

  /// The entries, oldest first. `message` says what was set aside, or why nothing could be read;
  /// it is left as it is when all went well.
  std::vector<HistoryEntry> Read(std::u16string& message);

  /// Adds `entry` as the newest, dropping the oldest beyond the bounds. False, with `message`
  /// saying why, when it could not be written.
  bool Append(const HistoryEntry& entry, std::u16string& message);

 private:
  /// Sets the file aside as "<name>.bad" (or "<name>.<n>.bad" when that is taken) and says so.
  std::u16string SetAside(std::u16string_view why);

  std::u16string path_;
  FileSystem& fileSystem_;
  HistoryBounds bounds_;
};

}  // namespace nomvarix
