#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

/// Maps A..Z to a..z and leaves every other code unit as it is. This is the only case folding the
/// program does: sorting, validation, conflict marks, find and the filter all compare this way.
constexpr char16_t FoldAscii(char16_t u) { return (u >= u'A' && u <= u'Z') ? u + (u'a' - u'A') : u; }

/// Whether the unit is one of the digits 0..9 (and no other script's digit).
constexpr bool IsAsciiDigit(char16_t u) { return u >= u'0' && u <= u'9'; }

/// The string with every A..Z folded to a..z.
inline std::u16string FoldAscii(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& u : out) u = FoldAscii(u);
  return out;
}

/// Three-way lexicographic comparison of code units as unsigned 16-bit numbers; a proper prefix
/// comes first. Negative, zero or positive.
inline int CompareOrdinal(std::u16string_view a, std::u16string_view b) { return a.compare(b); }

/// As CompareOrdinal, after folding A..Z on both sides.
inline int CompareFolded(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = FoldAscii(a[i]);
    const char16_t y = FoldAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

inline bool EqualsFolded(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && CompareFolded(a, b) == 0;
}

}  // namespace nomvarix
