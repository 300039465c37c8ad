#include "apply/ConflictCheck.h"

#include <algorithm>
#include <bit>

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
  Bucket(keys, bucketBits_, true, diskNames_, diskBucketStart_);
  // Each bucket sorted by hash, and of the lines with the same name on disk only the first kept.
  std::vector<Filed> kept;
  kept.reserve(diskNames_.size());
  std::vector<std::uint32_t> keptStart(diskBucketStart_.size(), 0);
  for (std::size_t b = 0; b + 1 < diskBucketStart_.size(); ++b) {
    const auto first = diskNames_.begin() + diskBucketStart_[b];
    const auto last = diskNames_.begin() + diskBucketStart_[b + 1];
    std::stable_sort(first, last, [](const Filed& x, const Filed& y) { return x.hash < y.hash; });
    const std::size_t bucketKept = kept.size();
    for (auto it = first; it != last; ++it) {
      // Lines with the same hash are next to each other, the earliest first.
      bool seen = false;
      for (std::size_t k = kept.size(); k > bucketKept && kept[k - 1].hash == it->hash && !seen; --k) {
        seen = EqualsFolded(names[kept[k - 1].line].originalName, names[it->line].originalName);
      }
      if (!seen) kept.push_back(*it);
    }
    keptStart[b + 1] = static_cast<std::uint32_t>(kept.size());
  }
  diskNames_ = std::move(kept);
  diskBucketStart_ = std::move(keptStart);
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
    CheckBuckets(names, begin, end, halves_[begin == 0 ? 0 : 1]);
  });
  links.Clear();
  for (Half& half : halves_) {
    links.duplicateLinks.insert(links.duplicateLinks.end(), half.links.duplicateLinks.begin(), half.links.duplicateLinks.end());
    links.diskNameLinks.insert(links.diskNameLinks.end(), half.links.diskNameLinks.begin(), half.links.diskNameLinks.end());
  }
  std::sort(links.duplicateLinks.begin(), links.duplicateLinks.end(), BySecondLine);
  std::sort(links.diskNameLinks.begin(), links.diskNameLinks.end(), BySecondLine);
}

void ConflictChecker::CheckBuckets(const NameList& names, std::size_t firstBucket, std::size_t endBucket, Half& half) {
  for (std::size_t b = firstBucket; b < endBucket; ++b) {
    const std::size_t count = newBucketStart_[b + 1] - newBucketStart_[b];
    if (count == 0) continue;
    // The bucket's own table of the first line of each new name (line UINT32_MAX is empty).
    const std::size_t size = std::bit_ceil(count * 2);
    half.table.assign(size, Filed{0, UINT32_MAX, false});
    const auto diskFirst = diskNames_.begin() + diskBucketStart_[b];
    const auto diskLast = diskNames_.begin() + diskBucketStart_[b + 1];
    for (std::size_t at = newBucketStart_[b]; at < newBucketStart_[b + 1]; ++at) {
      const Filed& line = newNames_[at];
      const std::u16string& name = names[line.line].newName;
      for (std::size_t slot = line.hash & (size - 1);; slot = (slot + 1) & (size - 1)) {
        Filed& filed = half.table[slot];
        if (filed.line == UINT32_MAX) {
          filed = line;
          break;
        }
        if (filed.hash == line.hash && EqualsFolded(names[filed.line].newName, name)) {
          half.links.duplicateLinks.push_back({filed.line, line.line, name});
          break;
        }
      }
      if (!line.looksUpDiskName) continue;
      // The first line with this name on disk; it counts only when it comes before this one.
      for (auto disk = std::lower_bound(diskFirst, diskLast, line.hash,
                                        [](const Filed& f, std::uint64_t hash) { return f.hash < hash; });
           disk != diskLast && disk->hash == line.hash; ++disk) {
        if (!EqualsFolded(names[disk->line].originalName, name)) continue;
        if (disk->line < line.line) half.links.diskNameLinks.push_back({disk->line, line.line, name});
        break;
      }
    }
  }
}

void CheckConflicts(const NameList& names, ConflictLinks& links) {
  ConflictChecker().Check(names, KeysOf(names), 0, links);
}

}  // namespace nomvarix
