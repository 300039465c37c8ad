#pragma once

#include <string>
#include <vector>

#include "editor/NameEntry.h"

namespace nomvarix::test {

inline std::vector<std::u16string> OriginalNames(const NameList& names) {
  std::vector<std::u16string> out;
  for (const NameEntry& e : names) out.push_back(e.originalName);
  return out;
}

inline std::vector<std::u16string> LineTexts(const NameList& names) {
  std::vector<std::u16string> out;
  for (const NameEntry& e : names) out.push_back(e.lineText);
  return out;
}

inline std::vector<std::u16string> NewNames(const NameList& names) {
  std::vector<std::u16string> out;
  for (const NameEntry& e : names) out.push_back(e.newName);
  return out;
}

/// The changed marks of a line's cells as text, "." unchanged and "x" changed: "..xx".
inline std::string ChangedMarks(const NameEntry& entry) {
  std::string out;
  for (const GlyphCell& cell : entry.cells) out.push_back(cell.changed ? 'x' : '.');
  return out;
}

}  // namespace nomvarix::test
