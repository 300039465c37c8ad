#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

/// Which part of each name the lines show and edit.
enum class EditScope : int {
  WholeName = 0,  ///< the whole name
  BaseName = 1,   ///< before the last "."
  Extension = 2,  ///< from the last "." on, the "." included
};

/// The column before which Backspace deletes nothing and below which hit tests and word moves do
/// not go: 1 in Extension scope, so that the leading "." stays, else 0.
constexpr int MinColumnOf(EditScope scope) { return scope == EditScope::Extension ? 1 : 0; }

/// The part of `name` that `scope` shows: "archive.tar.gz" is "archive.tar" as BaseName and ".gz"
/// as Extension; a name without "." has an empty Extension part.
std::u16string_view ScopedPart(std::u16string_view name, EditScope scope);

/// Whether a line of `scope` showing `shown` can stand for `name`: `shown` is all of it in WholeName
/// scope, its start in BaseName scope and its end in Extension scope, so that ReplaceShownPart with
/// the shown length keeps the rest of the name. Typed text need not be ScopedPart: "READMEmd" shown
/// as "md" in Extension scope (typed after a name without ".") stands for it.
bool ShowsPartOf(std::u16string_view name, EditScope scope, std::u16string_view shown);

/// Puts `part` in place of the `shownLength` units of `name` that a line of `scope` shows: the
/// first units in BaseName scope, the last ones in Extension scope, all of them in WholeName. The
/// rest of the name stays as it was when the line was shown, wherever `part` puts a ".":
///
///   Extension, "README" showing "" (length 0), part "md"     -> "READMEmd"
///   Extension, "x.gz" showing ".gz" (length 3), ".tar.gz2"   -> "x.tar.gz2"
///   BaseName,  "noext" showing "noext" (length 5), "noext.v2z" -> "noext.v2z"
///
/// `part` must not point into `name`; `shownLength` is at most the name's length.
void ReplaceShownPart(std::u16string& name, EditScope scope, std::size_t shownLength, std::u16string_view part);

}  // namespace nomvarix
