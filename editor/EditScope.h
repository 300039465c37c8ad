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

/// `name` with its part in `scope` replaced by `part`: the other part is kept from `name`.
std::u16string WithScopedPart(std::u16string_view name, EditScope scope, std::u16string_view part);

}  // namespace nomvarix
