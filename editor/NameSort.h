#pragma once

#include <string_view>
#include <vector>

namespace nomvarix {

/// The four orders of the list, chosen by the two sort settings. All compare originalName.
struct SortOrder {
  bool byExtension = true;    ///< extension first (names without "." have an empty one), then name
  bool caseSensitive = true;  ///< ordinal on code units; otherwise A..Z folded to a..z first
  bool numbersByValue = false;  ///< runs of ASCII digits compare as numbers: "IMG2" before "IMG10"
};

/// Sorts file names. Ordinal: "B.txt" < "_c.txt" < "a.txt"; folded: "_c.txt" < "a.txt" < "B.txt".
/// Names equal but for the case of A..Z follow a..z first ("ab1" < "aB1" < "Ab1" < "AB1"), so that
/// every order is total. By value: "a2" < "a02" < "a10".
void SortNames(std::vector<std::u16string_view>& names, SortOrder order);

}  // namespace nomvarix
