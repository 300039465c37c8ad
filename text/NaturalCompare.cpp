#include "text/NaturalCompare.h"

#include <algorithm>

#include "text/AsciiCase.h"

namespace nomvarix {
namespace {


int Sign(std::size_t a, std::size_t b) { return a == b ? 0 : (a < b ? -1 : 1); }

/// The end of the run of digits that starts at `at`.
std::size_t RunEnd(std::u16string_view text, std::size_t at) {
  while (at < text.size() && IsAsciiDigit(text[at])) ++at;
  return at;
}

/// Compares two digit runs by value. Leading zeros are stripped rather than the runs converted, so a
/// run of a thousand digits compares like a short one.
int CompareValues(std::u16string_view a, std::u16string_view b) {
  const std::size_t aZeros = std::min(a.find_first_not_of(u'0'), a.size());
  const std::size_t bZeros = std::min(b.find_first_not_of(u'0'), b.size());
  const std::u16string_view aDigits = a.substr(aZeros);
  const std::u16string_view bDigits = b.substr(bZeros);
  if (const int byMagnitude = Sign(aDigits.size(), bDigits.size())) return byMagnitude;
  const int byDigits = aDigits.compare(bDigits);
  return byDigits == 0 ? 0 : (byDigits < 0 ? -1 : 1);
}

template <bool Fold>
int Compare(std::u16string_view a, std::u16string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  // The first pair of equal values written with different lengths ("7" and "07") decides only when
  // everything else is equal.
  int byLength = 0;
  while (i < a.size() && j < b.size()) {
    if (IsAsciiDigit(a[i]) && IsAsciiDigit(b[j])) {
      const std::size_t iEnd = RunEnd(a, i);
      const std::size_t jEnd = RunEnd(b, j);
      if (const int byValue = CompareValues(a.substr(i, iEnd - i), b.substr(j, jEnd - j))) return byValue;
      if (byLength == 0) byLength = Sign(iEnd - i, jEnd - j);
      i = iEnd;
      j = jEnd;
      continue;
    }
    const char16_t x = Fold ? FoldAscii(a[i]) : a[i];
    const char16_t y = Fold ? FoldAscii(b[j]) : b[j];
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (const int byRest = Sign(a.size() - i, b.size() - j)) return byRest;
  return byLength;
}

}  // namespace

int CompareNatural(std::u16string_view a, std::u16string_view b) { return Compare<false>(a, b); }

int CompareNaturalFolded(std::u16string_view a, std::u16string_view b) { return Compare<true>(a, b); }

int CompareNaturalFoldedFirst(std::u16string_view a, std::u16string_view b) {
  const int folded = CompareNaturalFolded(a, b);
  return folded != 0 ? folded : CompareNatural(a, b);
}

}  // namespace nomvarix
