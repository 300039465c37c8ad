#include "apply/ConflictCheck.h"

#include <algorithm>
#include <bit>

#include "apply/NameRules.h"
#include "editor/ParallelRanges.h"
#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

/// About this many lines share a bucket.
constexpr std::size_t kLinesPerBucket = 512;

std::vector<NameKey> KeysOf(const NameList& names) {
  std::vector<NameKey> keys;
  keys.reserve(names.size());
  for (const NameEntry& entry : names) keys.push_back(KeyOf(entry));
  return keys;
}

bool BySecondLine(const ConflictLink& a, const ConflictLink& b) { return a.secondLine < b.secondLine; }

}  // namespace

void ConflictChecker::Bucket(const std::vector<NameKey>& keys, int bucketBits, bool byDiskName,
                             std::vector<Filed>& filed, std::vector<std::uint32_t>& bucketStart) {
  const auto bucketOf = [bucketBits](std::uint64_t hash) {
    return bucketBits == 0 ? std::size_t{0} : static_cast<std::size_t>(hash >> (64 - bucketBits));
  };
  bucketStart.assign((std::size_t{1} << bucketBits) + 1, 0);
  for (const NameKey& key : keys) ++bucketStart[bucketOf(byDiskName ? key.diskNameHash : key.newNameHash) + 1];
  for (std::size_t b = 1; b < bucketStart.size(); ++b) bucketStart[b] += bucketStart[b - 1];
  filed.resize(keys.size());
  std::vector<std::uint32_t> next(bucketStart.begin(), bucketStart.end() - 1);
  for (std::size_t line = 0; line < keys.size(); ++line) {
    const NameKey& key = keys[line];
    const std::uint64_t hash = byDiskName ? key.diskNameHash : key.newNameHash;
    filed[next[bucketOf(hash)]++] = {hash, static_cast<std::uint32_t>(line), key.changed && !key.caseOnly};
  }
}

void ConflictChecker::IndexNamesOnDisk(const NameList& names, const std::vector<NameKey>& keys) {
  bucketBits_ = static_cast<int>(std::bit_width(names.size() / kLinesPerBucket));
  std::vector<Filed> filed;
  std::vector<std::uint32_t> bucketStart;
  Bucket(keys, bucketBits_, true, filed, bucketStart);
  // Each bucket gets an open-addressed table at least twice its size: a look-up then probes a
  // slot or two of memory the bucket has to itself, where a search of a sorted bucket would
  // mispredict a branch at every step.
  const std::size_t buckets = bucketStart.size() - 1;
  diskTableStart_.assign(buckets + 1, 0);
  for (std::size_t b = 0; b < buckets; ++b) {
    diskTableStart_[b + 1] = diskTableStart_[b] + static_cast<std::uint32_t>(std::bit_ceil((bucketStart[b + 1] - bucketStart[b]) * 2 + 1));
  }
  diskTable_.assign(diskTableStart_.back(), Filed{0, kNoLine, false});
  for (std::size_t b = 0; b < buckets; ++b) {
    // Lines come in line order: of the lines with the same name on disk only the first is filed.
    for (std::size_t at = bucketStart[b]; at < bucketStart[b + 1]; ++at) {
      const Filed& line = filed[at];
      Filed& slot = DiskSlot(names, b, line.hash, names[line.line].originalName);
      if (slot.line == kNoLine) slot = line;
    }
  }
}

template <typename NameOf>
ConflictChecker::Filed& ConflictChecker::SlotFor(Filed* table, std::uint32_t mask, std::uint64_t hash,
                                                 const std::u16string& name, NameOf nameOf) {
  for (std::uint32_t slot = static_cast<std::uint32_t>(hash) & mask;; slot = (slot + 1) & mask) {
    Filed& filed = table[slot];
    if (filed.line == kNoLine || (filed.hash == hash && EqualsFolded(nameOf(filed.line), name))) return filed;
  }
}

ConflictChecker::Filed& ConflictChecker::DiskSlot(const NameList& names, std::size_t bucket, std::uint64_t hash,
                                                  const std::u16string& name) {
  const std::uint32_t begin = diskTableStart_[bucket];
  const std::uint32_t mask = diskTableStart_[bucket + 1] - begin - 1;
  return SlotFor(diskTable_.data() + begin, mask, hash, name,
                 [&](std::uint32_t line) -> const std::u16string& { return names[line].originalName; });
}

void ConflictChecker::Prepare(const NameList& names, const std::vector<NameKey>& keys, std::uint64_t listGeneration) {
  if (indexedGeneration_ != listGeneration) {
    IndexNamesOnDisk(names, keys);
    indexedGeneration_ = listGeneration;
  }
  newNames_.resize(keys.size());
}

void ConflictChecker::Check(const NameList& names, const std::vector<NameKey>& keys, std::uint64_t listGeneration,
                            ConflictLinks& links) {
  Prepare(names, keys, listGeneration);
  Bucket(keys, bucketBits_, false, newNames_, newBucketStart_);
  for (Half& half : halves_) half.links.Clear();
  const std::size_t buckets = newBucketStart_.size() - 1;
  ParallelRanges(buckets, 1, names.size() >= kParallelLines, [&](std::size_t begin, std::size_t end) {
    CheckBuckets(names, keys, begin, end, halves_[begin == 0 ? 0 : 1]);
  });
  links.Clear();
  for (Half& half : halves_) {
    links.duplicateLinks.insert(links.duplicateLinks.end(), half.links.duplicateLinks.begin(), half.links.duplicateLinks.end());
    links.diskNameLinks.insert(links.diskNameLinks.end(), half.links.diskNameLinks.begin(), half.links.diskNameLinks.end());
  }
  std::sort(links.duplicateLinks.begin(), links.duplicateLinks.end(), BySecondLine);
  std::sort(links.diskNameLinks.begin(), links.diskNameLinks.end(), BySecondLine);
}

bool ConflictChecker::KeepsItsName(const NameList& names, const NameKey& key, std::uint32_t line) {
  return !key.changed || key.caseOnly || ApplyRefuses(names[line].newName);
}

void ConflictChecker::CheckBuckets(const NameList& names, const std::vector<NameKey>& keys, std::size_t firstBucket,
                                   std::size_t endBucket, Half& half) {
  for (std::size_t b = firstBucket; b < endBucket; ++b) {
    const std::size_t count = newBucketStart_[b + 1] - newBucketStart_[b];
    if (count == 0) continue;
    // The bucket's own table of the first line of each new name.
    const std::size_t size = std::bit_ceil(count * 2);
    half.table.assign(size, Filed{0, kNoLine, false});
    for (std::size_t at = newBucketStart_[b]; at < newBucketStart_[b + 1]; ++at) {
      const Filed& line = newNames_[at];
      const std::u16string& name = names[line.line].newName;
      Filed& first = SlotFor(half.table.data(), static_cast<std::uint32_t>(size - 1), line.hash, name,
                             [&](std::uint32_t other) -> const std::u16string& { return names[other].newName; });
      if (first.line == kNoLine) {
        first = line;
      } else {
        half.links.duplicateLinks.push_back({first.line, line.line, name});
      }
      if (!line.looksUpDiskName) continue;
      // The first line with this name on disk; it counts only when it comes before this one, and
      // when its file keeps the name: one that the apply renames away frees it (a chain).
      const Filed& disk = DiskSlot(names, b, line.hash, name);
      if (disk.line != kNoLine && disk.line < line.line && KeepsItsName(names, keys[disk.line], disk.line)) {
        half.links.diskNameLinks.push_back({disk.line, line.line, name});
      }
    }
  }
}

void CheckConflicts(const NameList& names, ConflictLinks& links) {
  ConflictChecker().Check(names, KeysOf(names), 0, links);
}

}  // namespace nomvarix
