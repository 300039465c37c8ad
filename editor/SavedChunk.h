#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditScope.h"
#include "editor/NameEntry.h"

namespace nomvarix {

/// The lines of one stretch of the list as an undo snapshot keeps them: each line's newName, its
/// lineText only where that is not simply the scope's part of newName, and its error mark.
///
/// A chunk is either full (its own text), as on disk (every line shows its name on disk, so the
/// lines' own original names are its text), or compact: built on an earlier full or as-on-disk
/// chunk of the same lines, it keeps per line only what differs from that one. Typing one
/// character into 100,000 lines then costs each snapshot a few bytes a line instead of every name
/// again.
class SavedChunk {
 public:
  /// Saves lines [first, last) of `names`. `previous` is the last saved copy of the same lines,
  /// or null; a compact chunk builds on its full chunk when that saves most of the text.
  static std::shared_ptr<const SavedChunk> Save(const NameList& names, std::size_t first, std::size_t last,
                                                EditScope scope, const std::shared_ptr<const SavedChunk>& previous);

  /// Lines that all show their names on disk, unmarked.
  static std::shared_ptr<const SavedChunk> AsOnDisk(std::size_t lines);

  std::size_t LineCount() const { return errorMark_.size(); }
  /// Puts line `i` back into `entry`: newName, lineText and the error mark (not the original name,
  /// not the cells). `scope` is the scope it was saved in.
  void Restore(std::size_t i, EditScope scope, NameEntry& entry) const;

  /// The chunk a compact one builds on; null for the others.
  const SavedChunk* Base() const { return base_.get(); }
  /// Bytes this chunk holds itself (not its base).
  std::size_t OwnBytes() const;

 private:
  static bool AllAsOnDisk(const NameList& names, std::size_t first, std::size_t last, EditScope scope);
  /// The length of line `i`'s newName as this full or as-on-disk chunk holds it (for an as-on-disk
  /// one, the line's own name on disk), and its units [from, to) appended to `out`.
  std::size_t NameSize(std::size_t i, const NameEntry& entry) const;
  void AppendName(std::size_t i, const NameEntry& entry, std::size_t from, std::size_t to, std::u16string& out) const;
  /// Units [begin, end) of the text, appended to `out`.
  void AppendText(std::uint32_t begin, std::uint32_t end, std::u16string& out) const;
  std::uint32_t NewNameBegin(std::size_t i) const {
    return i == 0 ? 0 : (base_ ? newNameEnd_[i - 1] : lineTextEnd_[i - 1]);
  }
  static std::shared_ptr<const SavedChunk> SaveFull(const NameList& names, std::size_t first, std::size_t last,
                                                    EditScope scope);
  static std::shared_ptr<const SavedChunk> SaveCompact(const NameList& names, std::size_t first,
                                                       const std::shared_ptr<const SavedChunk>& base);
  /// Appends units to the text: one byte each while every unit fits, else two.
  void Append(std::u16string_view units);

  /// One byte per code unit while every unit of the chunk is below 0x100 (most file names), two
  /// otherwise: full chunks hold, per line, newName and then lineText when it is kept; compact ones
  /// hold the part of each newName that differs from the base.
  std::string narrowText_;
  std::u16string wideText_;
  bool wide_ = false;
  bool asOnDisk_ = false;
  std::vector<std::uint32_t> newNameEnd_;   ///< per line: where its newName (or differing part) ends
  std::vector<std::uint32_t> lineTextEnd_;  ///< per line: where its kept lineText ends
  std::vector<bool> lineTextKept_;
  std::vector<bool> errorMark_;
  /// Compact chunks: the base, and per line how many units at the start and at the end of the
  /// base's newName the line's newName shares.
  std::shared_ptr<const SavedChunk> base_;
  std::vector<std::uint16_t> sharedPrefix_;
  std::vector<std::uint16_t> sharedSuffix_;
  /// Compact chunks whose lines all differ from the base by the same units (what typing into a
  /// column does) keep those units once, and no ends.
  bool sameDifference_ = false;
};

}  // namespace nomvarix
