#pragma once

#include <string>
#include <vector>

#include "editor/NameEditor.h"
#include "editor/NameEntry.h"

namespace nomvarix::test {

/// One text field of every line, in order.
inline std::vector<std::u16string> FieldOfLines(const NameList& names, std::u16string NameEntry::*field) {
  std::vector<std::u16string> out;
  for (const NameEntry& e : names) out.push_back(e.*field);
  return out;
}

inline std::vector<std::u16string> OriginalNames(const NameList& names) {
  return FieldOfLines(names, &NameEntry::originalName);
}
inline std::vector<std::u16string> LineTexts(const NameList& names) { return FieldOfLines(names, &NameEntry::lineText); }
inline std::vector<std::u16string> NewNames(const NameList& names) { return FieldOfLines(names, &NameEntry::newName); }

/// Every line's error mark, in order.
inline std::vector<bool> ErrorMarks(const NameList& names) {
  std::vector<bool> marks;
  for (const NameEntry& e : names) marks.push_back(e.errorMark);
  return marks;
}

/// The changed marks of a line's cells as text, "." unchanged and "x" changed: "..xx".
inline std::string ChangedMarks(const NameEditor& editor, std::size_t line) {
  std::string out;
  for (const GlyphCell& cell : editor.LineCells(line)) out.push_back(cell.changed ? 'x' : '.');
  return out;
}

}  // namespace nomvarix::test
