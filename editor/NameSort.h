#pragma once

#include <string_view>
#include <vector>

namespace nomvarix {

/// The four orders of the list, chosen by the two sort settings. All compare originalName.
struct SortOrder {
  bool byExtension = true;    ///< extension first (names without "." have an empty one), then name
  bool caseSensitive = true;  ///< ordinal on code units; otherwise A..Z folded to a..z first
};

/// Sorts file names. Ordinal: "B.txt" < "_c.txt" < "a.txt"; folded: "_c.txt" < "a.txt" < "B.txt".
/// Names whose keys compare equal may end in either order.
void SortNames(std::vector<std::u16string_view>& names, SortOrder order);

}  // namespace nomvarix
