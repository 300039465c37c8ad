#include "text/FoldedHash.h"

#include <bit>

#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

std::uint64_t FoldedUnit(char16_t u) { return FoldAscii(u); }

}  // namespace

std::uint64_t FoldedHash(std::u16string_view text) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = text.size() * kMultiplier;
  std::size_t i = 0;
  for (; i + 4 <= text.size(); i += 4) {
    const std::uint64_t word = FoldedUnit(text[i]) | FoldedUnit(text[i + 1]) << 16 | FoldedUnit(text[i + 2]) << 32 |
                               FoldedUnit(text[i + 3]) << 48;
    hash = std::rotl((hash ^ word) * kMultiplier, 29);
  }
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
