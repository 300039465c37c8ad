#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/NameEntry.h"
#include "editor/NameKey.h"

namespace nomvarix {

/// Two lines that would collide, drawn as a bracket beside the text.
struct ConflictLink {
  std::int64_t firstLine = 0;   ///< the earlier line
  std::int64_t secondLine = 0;  ///< the later line
  std::u16string name;          ///< the later line's newName, as typed

  bool operator==(const ConflictLink&) const = default;
};

struct ConflictLinks {
  std::vector<ConflictLink> duplicateLinks;  ///< two lines with the same new name
  std::vector<ConflictLink> diskNameLinks;   ///< a line taking the disk name of an earlier line

  void Clear() {
    duplicateLinks.clear();
    diskNameLinks.clear();
  }
};

/// Rebuilds both lists, in the order of their later lines, comparing names with A..Z folded. A
/// duplicate links every later equal new name to the first line that has it; a disk-name link joins
/// a line whose new name is the original name of an earlier line (a later line's name is not looked
/// at) that keeps it: unchanged, changed only in case, or to a name the apply refuses. An earlier
/// line renamed away frees its name, and taking it is a link of a chain, not a conflict. Lines
/// unchanged or changed only in case take no disk name.
void CheckConflicts(const NameList& names, ConflictLinks& links);

/// The same check, run again and again over one list, from the lines' keys (editor/NameKey.h).
/// What only a new list changes (the first line of every name on disk) is kept between runs, and
/// so are the work arrays.
///
/// The lines are first sorted into buckets by their hashes, and each bucket is checked on its own
/// with a table small enough to stay in the processor's cache: on 100,000 lines one big table
/// would miss the cache on nearly every look-up.
class ConflictChecker {
 public:
  /// As CheckConflicts. `keys` are the lines' keys; `listGeneration` changes whenever the list is
  /// replaced (a new load), which is when the names on disk can change.
  void Check(const NameList& names, const std::vector<NameKey>& keys, std::uint64_t listGeneration,
             ConflictLinks& links);
  /// Does now what the first run over a new list would do before checking anything (indexing the
  /// names on disk, making room for the work arrays), and finds nothing: a load pays for it, not
  /// the first keystroke after it.
  void Prepare(const NameList& names, const std::vector<NameKey>& keys, std::uint64_t listGeneration);

 private:
  /// One line in a bucket: the hash it is filed under, and the line.
  struct Filed {
    std::uint64_t hash;
    std::uint32_t line;
    bool looksUpDiskName;  ///< changed, and not only in case
  };
  /// The lines' hashes sorted into buckets by their top bits, each bucket in line order.
  static void Bucket(const std::vector<NameKey>& keys, int bucketBits, bool byDiskName, std::vector<Filed>& filed,
                     std::vector<std::uint32_t>& bucketStart);
  void IndexNamesOnDisk(const NameList& names, const std::vector<NameKey>& keys);
  /// The slot of an open-addressed table of `mask` + 1 slots that holds the line filed under `hash`
  /// whose name (`nameOf(line)`) equals `name` with A..Z folded, or else the empty slot where such a
  /// line would go. A line's name is read only when hashes agree: the lines of a bucket lie all
  /// over the list, and reading each one's entry would miss the cache once a line.
  template <typename NameOf>
  static Filed& SlotFor(Filed* table, std::uint32_t mask, std::uint64_t hash, const std::u16string& name, NameOf nameOf);
  /// SlotFor in the disk-name table of `bucket`: the first line with `name` on disk.
  Filed& DiskSlot(const NameList& names, std::size_t bucket, std::uint64_t hash, const std::u16string& name);

  /// The list generation the names on disk were indexed for.
  std::optional<std::uint64_t> indexedGeneration_;
  int bucketBits_ = 0;
  /// The first line of each name on disk, in an open-addressed table per bucket: bucket b's
  /// table is [diskTableStart_[b], diskTableStart_[b + 1]), a power of two slots.
  std::vector<Filed> diskTable_;
  std::vector<std::uint32_t> diskTableStart_;
  std::vector<Filed> newNames_;
  std::vector<std::uint32_t> newBucketStart_;
  /// What each of the two threads that check the buckets uses: a table, and the links it found.
  /// Each on a cache line of its own, as the threads write them at every bucket.
  struct alignas(64) Half {
    std::vector<Filed> table;
    ConflictLinks links;
  };
  Half halves_[2];
  void CheckBuckets(const NameList& names, const std::vector<NameKey>& keys, std::size_t firstBucket,
                    std::size_t endBucket, Half& half);
  /// Whether the file of `line` keeps its name through the apply: unchanged, changed only in case,
  /// or to a name the apply refuses.
  static bool KeepsItsName(const NameList& names, const NameKey& key, std::uint32_t line);
};

}  // namespace nomvarix
