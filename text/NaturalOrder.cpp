#include "text/NaturalOrder.h"

#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

bool IsAsciiDigit(char16_t u) { return u >= u'0' && u <= u'9'; }

/// A run of digits: where its significant digits begin and where it ends.
struct DigitRun {
  std::size_t significant;
  std::size_t end;
};

DigitRun RunAt(std::u16string_view text, std::size_t start) {
  std::size_t significant = start;
  while (significant + 1 < text.size() && text[significant] == u'0' && IsAsciiDigit(text[significant + 1])) {
    ++significant;
  }
  std::size_t end = significant;
  while (end < text.size() && IsAsciiDigit(text[end])) ++end;
  return {significant, end};
}

/// Compares two runs by value: the one with more significant digits is larger, else the first
/// digit that differs decides.
int CompareRuns(std::u16string_view a, const DigitRun& ra, std::u16string_view b, const DigitRun& rb) {
  const std::size_t lengthA = ra.end - ra.significant;
  const std::size_t lengthB = rb.end - rb.significant;
  if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
  for (std::size_t k = 0; k < lengthA; ++k) {
    if (a[ra.significant + k] != b[rb.significant + k]) return a[ra.significant + k] < b[rb.significant + k] ? -1 : 1;
  }
  return 0;
}

}  // namespace

int CompareNatural(std::u16string_view a, std::u16string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  int zeros = 0;  // the first difference in leading zeros, for a tie
  while (i < a.size() && j < b.size()) {
    if (IsAsciiDigit(a[i]) && IsAsciiDigit(b[j])) {
      const DigitRun ra = RunAt(a, i);
      const DigitRun rb = RunAt(b, j);
      if (const int byValue = CompareRuns(a, ra, b, rb); byValue != 0) return byValue;
      if (zeros == 0 && ra.significant - i != rb.significant - j) zeros = ra.significant - i < rb.significant - j ? -1 : 1;
      i = ra.end;
      j = rb.end;
      continue;
    }
    const char16_t x = FoldAscii(a[i]);
    const char16_t y = FoldAscii(b[j]);
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  if (zeros != 0) return zeros;
  return CompareOrdinal(a, b);
}

}  // namespace nomvarix
