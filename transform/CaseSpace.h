#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

class NameEditor;

/// The case and space commands of the Tools pop-up.
enum class TextTransform {
  // The case commands map one character at a time by the Unicode simple case mapping
  // (text/CaseMapping.h): "CAFÉ" lowered is "café", and no name changes its length.
  Uppercase,
  Lowercase,
  TitleCase,    ///< title case after white space, "_", "-" and "."; the piece's first character always; the rest lowered
  ToggleCase,   ///< what has a lower case lowered, everything else raised
  RemoveSpace,  ///< spaces, tabs, hyphens and underscores dropped
  Underscores,  ///< each run of them one "_", a trailing one dropped
  Hyphens,      ///< each run of them one "-", a trailing one dropped
};

/// The piece of a line as `transform` rewrites it.
///
///   TitleCase: "my photo.jpg" → "My Photo.Jpg";  Underscores: "my - file name  " → "my_file_name".
std::u16string Transformed(std::u16string_view piece, TextTransform transform);

/// Rewrites the selected columns of the selected lines (as far as each line reaches) as one undo
/// step; the selection stays as it was. Title Case in the whole-name scope stops at the extension. False, with no undo step, for a selection without width.
bool TransformSelection(NameEditor& editor, TextTransform transform);

}  // namespace nomvarix
