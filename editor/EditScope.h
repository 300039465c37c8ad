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

/// Replaces the part of `name` that `scope` shows by `part`, keeping the other part: BaseName
/// "archive.tar.gz" with "backup" becomes "backup.gz". `part` must not point into `name`.
void AssignScopedPart(std::u16string& name, EditScope scope, std::u16string_view part);

}  // namespace nomvarix
