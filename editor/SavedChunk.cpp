#include "editor/SavedChunk.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <type_traits>

namespace nomvarix {
namespace {

bool FitsInBytes(std::u16string_view units) {
  char16_t all = 0;
  for (const char16_t u : units) all |= u;
  return all < 0x100;
}

/// A compact chunk is kept only when its differing parts are at most this share of the names.
constexpr std::size_t kCompactShareDivisor = 2;
constexpr std::size_t kMaxShared = std::numeric_limits<std::uint16_t>::max();

}  // namespace

std::shared_ptr<const SavedChunk> SavedChunk::AsOnDisk(std::size_t lines) {
  auto chunk = std::make_shared<SavedChunk>();
  chunk->asOnDisk_ = true;
  chunk->errorMark_.resize(lines);
  return chunk;
}

bool SavedChunk::AllAsOnDisk(const NameList& names, std::size_t first, std::size_t last, EditScope scope) {
  return std::all_of(names.begin() + static_cast<std::ptrdiff_t>(first), names.begin() + static_cast<std::ptrdiff_t>(last),
                     [&](const NameEntry& e) {
                       return !e.errorMark && e.newName == e.originalName && e.lineText == ScopedPart(e.newName, scope);
                     });
}

std::shared_ptr<const SavedChunk> SavedChunk::Save(const NameList& names, std::size_t first, std::size_t last,
                                                   EditScope scope, const std::shared_ptr<const SavedChunk>& previous) {
  if (AllAsOnDisk(names, first, last, scope)) return AsOnDisk(last - first);
  const std::shared_ptr<const SavedChunk> base = previous && previous->base_ ? previous->base_ : previous;
  // Compact chunks keep no lineText, so every line must show the scope's part of its name.
  const bool lineTextsFollow =
      scope == EditScope::WholeName || std::all_of(names.begin() + static_cast<std::ptrdiff_t>(first),
                                                   names.begin() + static_cast<std::ptrdiff_t>(last), [&](const NameEntry& e) {
                                                     return e.lineText == ScopedPart(e.newName, scope);
                                                   });
  if (base && base->LineCount() == last - first && lineTextsFollow) {
    if (auto compact = SaveCompact(names, first, base)) return compact;
  }
  return SaveFull(names, first, last, scope);
}

std::shared_ptr<const SavedChunk> SavedChunk::SaveFull(const NameList& names, std::size_t first, std::size_t last,
                                                       EditScope scope) {
  auto chunk = std::make_shared<SavedChunk>();
  const std::size_t lines = last - first;
  chunk->newNameEnd_.resize(lines);
  chunk->lineTextEnd_.resize(lines);
  chunk->lineTextKept_.resize(lines);
  chunk->errorMark_.resize(lines);
  std::size_t units = 0;
  for (std::size_t i = 0; i < lines; ++i) units += names[first + i].newName.size();
  chunk->narrowText_.reserve(units);
  for (std::size_t i = 0; i < lines; ++i) {
    const NameEntry& entry = names[first + i];
    // The whole name's line is the name itself; in the other scopes it nearly always is its part.
    const bool kept = scope != EditScope::WholeName && entry.lineText != ScopedPart(entry.newName, scope);
    chunk->Append(entry.newName);
    chunk->newNameEnd_[i] = static_cast<std::uint32_t>(chunk->wide_ ? chunk->wideText_.size() : chunk->narrowText_.size());
    if (kept) chunk->Append(entry.lineText);
    chunk->lineTextEnd_[i] = static_cast<std::uint32_t>(chunk->wide_ ? chunk->wideText_.size() : chunk->narrowText_.size());
    chunk->lineTextKept_[i] = kept;
    chunk->errorMark_[i] = entry.errorMark;
  }
  return chunk;
}

namespace {

// Keys of two-byte units are compared four units at a time: this runs over every line typed into.
constexpr int kUnitBits = 16;
constexpr std::size_t kWordUnits = 4;

/// Four units as one word, the first in the low bits (the counts of equal units below rely on it).
static_assert(std::endian::native == std::endian::little);
std::uint64_t WordAt(const char16_t* units) {
  std::uint64_t word;
  std::memcpy(&word, units, sizeof word);
  return word;
}

/// How many units `name` shares with `key` at its start; at most `most`. `Unit` is the key's unit
/// type (one byte or two).
template <typename Unit>
std::size_t SharedPrefix(std::u16string_view name, const Unit* key, std::size_t most) {
  std::size_t prefix = 0;
  if constexpr (std::is_same_v<Unit, char16_t>) {
    for (; prefix + kWordUnits <= most; prefix += kWordUnits) {
      const std::uint64_t differ = WordAt(name.data() + prefix) ^ WordAt(key + prefix);
      if (differ != 0) return prefix + static_cast<std::size_t>(std::countr_zero(differ) / kUnitBits);
    }
  }
  while (prefix < most && name[prefix] == static_cast<char16_t>(key[prefix])) ++prefix;
  return prefix;
}

/// How many units `name` shares with `key` (of `keySize` units) at its end; at most `most`.
template <typename Unit>
std::size_t SharedSuffix(std::u16string_view name, const Unit* key, std::size_t keySize, std::size_t most) {
  const char16_t* nameEnd = name.data() + name.size();
  const Unit* keyEnd = key + keySize;
  std::size_t suffix = 0;
  if constexpr (std::is_same_v<Unit, char16_t>) {
    for (; suffix + kWordUnits <= most; suffix += kWordUnits) {
      const std::uint64_t differ = WordAt(nameEnd - suffix - kWordUnits) ^ WordAt(keyEnd - suffix - kWordUnits);
      if (differ != 0) return suffix + static_cast<std::size_t>(std::countl_zero(differ) / kUnitBits);
    }
  }
  while (suffix < most && nameEnd[-1 - static_cast<std::ptrdiff_t>(suffix)] ==
                              static_cast<char16_t>(keyEnd[-1 - static_cast<std::ptrdiff_t>(suffix)])) {
    ++suffix;
  }
  return suffix;
}

/// How many units `name` shares with `key` at its start and, after those, at its end; each at
/// most kMaxShared.
template <typename Unit>
std::pair<std::size_t, std::size_t> SharedEnds(std::u16string_view name, const Unit* key, std::size_t keySize) {
  const std::size_t both = std::min(name.size(), keySize);
  const std::size_t prefix = SharedPrefix(name, key, std::min(both, kMaxShared));
  return {prefix, SharedSuffix(name, key, keySize, std::min(both - prefix, kMaxShared))};
}

}  // namespace

std::shared_ptr<const SavedChunk> SavedChunk::SaveCompact(const NameList& names, std::size_t first,
                                                          const std::shared_ptr<const SavedChunk>& base) {
  auto chunk = std::make_shared<SavedChunk>();
  const std::size_t lines = base->LineCount();
  chunk->base_ = base;
  chunk->sharedPrefix_.resize(lines);
  chunk->sharedSuffix_.resize(lines);
  std::size_t fullUnits = 0;
  std::size_t differingUnits = 0;
  char16_t allUnits = 0;
  bool same = true;
  std::u16string_view firstDifference;
  for (std::size_t i = 0; i < lines; ++i) {
    const NameEntry& entry = names[first + i];
    const std::u16string_view name = entry.newName;
    const auto [prefix, suffix] = [&] {
      if (base->asOnDisk_) return SharedEnds(name, entry.originalName.data(), entry.originalName.size());
      const std::uint32_t keyBegin = base->NewNameBegin(i);
      const std::size_t keySize = base->newNameEnd_[i] - keyBegin;
      return base->wide_ ? SharedEnds(name, base->wideText_.data() + keyBegin, keySize)
                         : SharedEnds(name, reinterpret_cast<const unsigned char*>(base->narrowText_.data()) + keyBegin,
                                      keySize);
    }();
    chunk->sharedPrefix_[i] = static_cast<std::uint16_t>(prefix);
    chunk->sharedSuffix_[i] = static_cast<std::uint16_t>(suffix);
    const std::u16string_view difference = name.substr(prefix, name.size() - prefix - suffix);
    if (i == 0) firstDifference = difference;
    same = same && difference == firstDifference;
    fullUnits += name.size();
    differingUnits += difference.size();
    for (const char16_t unit : difference) allUnits |= unit;
  }
  if (differingUnits * kCompactShareDivisor > fullUnits) return nullptr;
  chunk->wide_ = allUnits >= 0x100;
  chunk->sameDifference_ = same;
  chunk->errorMark_.resize(lines);
  for (std::size_t i = 0; i < lines; ++i) chunk->errorMark_[i] = names[first + i].errorMark;
  if (same) {
    chunk->Append(firstDifference);
    return chunk;
  }
  (chunk->wide_ ? chunk->wideText_.reserve(differingUnits) : chunk->narrowText_.reserve(differingUnits));
  chunk->newNameEnd_.resize(lines);
  for (std::size_t i = 0; i < lines; ++i) {
    const std::u16string_view name = names[first + i].newName;
    chunk->Append(name.substr(chunk->sharedPrefix_[i], name.size() - chunk->sharedPrefix_[i] - chunk->sharedSuffix_[i]));
    chunk->newNameEnd_[i] = static_cast<std::uint32_t>(chunk->wide_ ? chunk->wideText_.size() : chunk->narrowText_.size());
  }
  return chunk;
}

void SavedChunk::Append(std::u16string_view units) {
  if (!wide_ && !FitsInBytes(units)) {
    // Through unsigned char: a plain char is signed here, and would widen é (0xE9) to 0xFFE9.
    wideText_.resize(narrowText_.size());
    std::transform(narrowText_.begin(), narrowText_.end(), wideText_.begin(),
                   [](char byte) { return static_cast<char16_t>(static_cast<unsigned char>(byte)); });
    narrowText_.clear();
    narrowText_.shrink_to_fit();
    wide_ = true;
  }
  if (wide_) {
    wideText_ += units;
    return;
  }
  for (const char16_t unit : units) narrowText_.push_back(static_cast<char>(unit));
}

void SavedChunk::AppendText(std::uint32_t begin, std::uint32_t end, std::u16string& out) const {
  if (wide_) {
    out.append(wideText_, begin, end - begin);
    return;
  }
  const std::size_t at = out.size();
  out.resize(at + (end - begin));
  for (std::uint32_t i = begin; i < end; ++i) out[at + (i - begin)] = static_cast<unsigned char>(narrowText_[i]);
}

std::size_t SavedChunk::NameSize(std::size_t i, const NameEntry& entry) const {
  return asOnDisk_ ? entry.originalName.size() : newNameEnd_[i] - NewNameBegin(i);
}

void SavedChunk::AppendName(std::size_t i, const NameEntry& entry, std::size_t from, std::size_t to,
                            std::u16string& out) const {
  if (asOnDisk_) {
    out.append(entry.originalName, from, to - from);
    return;
  }
  const std::uint32_t begin = NewNameBegin(i);
  AppendText(begin + static_cast<std::uint32_t>(from), begin + static_cast<std::uint32_t>(to), out);
}

void SavedChunk::Restore(std::size_t i, EditScope scope, NameEntry& entry) const {
  entry.newName.clear();
  if (asOnDisk_) {
    entry.newName.assign(entry.originalName);
  } else if (base_) {
    const std::size_t keySize = base_->NameSize(i, entry);
    base_->AppendName(i, entry, 0, sharedPrefix_[i], entry.newName);
    if (sameDifference_) {
      AppendText(0, static_cast<std::uint32_t>(wide_ ? wideText_.size() : narrowText_.size()), entry.newName);
    } else {
      AppendText(NewNameBegin(i), newNameEnd_[i], entry.newName);
    }
    base_->AppendName(i, entry, keySize - sharedSuffix_[i], keySize, entry.newName);
  } else {
    AppendText(NewNameBegin(i), newNameEnd_[i], entry.newName);
  }
  if (!base_ && !asOnDisk_ && lineTextKept_[i]) {
    entry.lineText.clear();
    AppendText(newNameEnd_[i], lineTextEnd_[i], entry.lineText);
  } else {
    entry.lineText.assign(ScopedPart(entry.newName, scope));
  }
  entry.errorMark = errorMark_[i];
}

std::size_t SavedChunk::OwnBytes() const {
  return sizeof(SavedChunk) + narrowText_.capacity() + wideText_.capacity() * sizeof(char16_t) +
         (newNameEnd_.capacity() + lineTextEnd_.capacity()) * sizeof(std::uint32_t) +
         (sharedPrefix_.capacity() + sharedSuffix_.capacity()) * sizeof(std::uint16_t) +
         (lineTextKept_.capacity() + errorMark_.capacity()) / 8;
}

}  // namespace nomvarix
