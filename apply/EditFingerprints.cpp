#include "apply/EditFingerprints.h"

#include <algorithm>

namespace nomvarix {
namespace {

constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ULL;

void Mix(std::uint64_t& hash, std::uint64_t value) {
  for (int shift = 0; shift < 64; shift += 16) {
    hash ^= (value >> shift) & 0xFFFF;
    hash *= kFnvPrime;
  }
}

void MixText(std::uint64_t& hash, std::u16string_view text) {
  Mix(hash, text.size());
  for (const char16_t unit : text) {
    hash ^= unit;
    hash *= kFnvPrime;
  }
}

template <typename Value>
void MixOptional(std::uint64_t& hash, const std::optional<Value>& value) {
  Mix(hash, value.has_value());
  if (value) Mix(hash, static_cast<std::uint64_t>(*value));
}

}  // namespace

std::uint64_t EditFingerprints::NameHash(std::u16string_view name) {
  std::uint64_t hash = kFnvOffset;
  MixText(hash, name);
  return hash;
}

std::uint64_t EditFingerprints::EditHash(const SavedEdit& edit) {
  std::uint64_t hash = kFnvOffset;
  MixText(hash, edit.renamed);
  Mix(hash, edit.stamp.has_value());
  if (edit.stamp) {
    Mix(hash, edit.stamp->identity.volume);
    Mix(hash, edit.stamp->identity.file);
    MixOptional(hash, edit.stamp->attributes.size);
    MixOptional(hash, edit.stamp->attributes.modified);
    MixOptional(hash, edit.stamp->attributes.created);
  }
  return hash;
}

std::uint64_t EditFingerprints::OrderedHash(const std::vector<SavedEdit>& edits) {
  std::uint64_t hash = kFnvOffset;
  for (const SavedEdit& edit : edits) {
    Mix(hash, NameHash(edit.original));
    Mix(hash, EditHash(edit));
  }
  return hash;
}

EditFingerprints::EditFingerprints(const std::vector<SavedEdit>& edits)
    : ordered_(OrderedHash(edits)), count_(edits.size()) {
  byName_.reserve(edits.size());
  // Sorted by name, and for a name given twice only the later edit, as a look-up by name finds it.
  for (std::size_t i = edits.size(); i-- > 0;) byName_.emplace_back(NameHash(edits[i].original), EditHash(edits[i]));
  std::stable_sort(byName_.begin(), byName_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  byName_.erase(std::unique(byName_.begin(), byName_.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
                byName_.end());
}

bool EditFingerprints::Remembers(const std::vector<SavedEdit>& edits) const {
  return edits.size() == count_ && OrderedHash(edits) == ordered_;
}

std::optional<std::uint64_t> EditFingerprints::EditOf(std::u16string_view original) const {
  const std::uint64_t name = NameHash(original);
  const auto at = std::lower_bound(byName_.begin(), byName_.end(), std::pair<std::uint64_t, std::uint64_t>(name, 0));
  if (at == byName_.end() || at->first != name) return std::nullopt;
  return at->second;
}

}  // namespace nomvarix
