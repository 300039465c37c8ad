#include "text/FoldedHash.h"

#include <bit>

#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

std::uint64_t FoldedUnit(char16_t u) { return FoldAscii(u); }

/// Four units, the first in the low bits, each folded as FoldedUnit folds it, all four at once:
/// names are hashed on every keystroke over every line.
std::uint64_t FoldedWord(const char16_t* units) {
  const std::uint64_t word = units[0] | std::uint64_t{units[1]} << 16 | std::uint64_t{units[2]} << 32 |
                             std::uint64_t{units[3]} << 48;
  constexpr std::uint64_t kHigh = 0x8000'8000'8000'8000ull;
  const std::uint64_t low = word & ~kHigh;
  // Bit 15 of a lane ends set when its low 15 bits are at least "A", and when they are at most "Z".
  const std::uint64_t atLeastA = (low | kHigh) - 0x0041'0041'0041'0041ull;
  const std::uint64_t atMostZ = (0x005A'005A'005A'005Aull | kHigh) - low;
  const std::uint64_t upper = atLeastA & atMostZ & ~word & kHigh;
  return word + (upper >> 10);  // 0x8000 >> 10 is the 0x20 between "A" and "a"
}

}  // namespace

std::uint64_t FoldedHash(std::u16string_view text) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = text.size() * kMultiplier;
  std::size_t i = 0;
  for (; i + 4 <= text.size(); i += 4) hash = std::rotl((hash ^ FoldedWord(text.data() + i)) * kMultiplier, 29);
  std::uint64_t tail = 0;
  for (; i < text.size(); ++i) tail = tail << 16 | FoldedUnit(text[i]);
  hash = (hash ^ tail) * kMultiplier;
  // The final mix of MurmurHash3.
  hash ^= hash >> 33;
  hash *= 0xFF51AFD7ED558CCDull;
  hash ^= hash >> 33;
  return hash;
}

}  // namespace nomvarix
