#include "editor/NameKey.h"

#include <cstring>

#include "text/AsciiCase.h"
#include "text/FoldedHash.h"

namespace nomvarix {

NameKey KeyAfterNewName(const NameEntry& entry, const NameKey& before) {
  NameKey key;
  key.diskNameHash = before.diskNameHash;
  const std::u16string& name = entry.newName;
  const std::u16string& disk = entry.originalName;
  key.changed = name.size() != disk.size() || std::memcmp(name.data(), disk.data(), name.size() * sizeof(char16_t)) != 0;
  key.caseOnly = key.changed && EqualsFolded(name, disk);
  key.newNameHash = !key.changed ? key.diskNameHash : FoldedHash(name);
  return key;
}

NameKey KeyOf(const NameEntry& entry) {
  NameKey disk;
  disk.diskNameHash = FoldedHash(entry.originalName);
  return KeyAfterNewName(entry, disk);
}

}  // namespace nomvarix
