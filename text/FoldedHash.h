#pragma once

#include <cstdint>
#include <string_view>

namespace nomvarix {

/// A 64-bit hash of the code units with A..Z folded, so that names equal but for ASCII case hash
/// alike. Four units are mixed in per step (the conflict check hashes every name of a list), and
/// every bit of the result depends on every unit.
std::uint64_t FoldedHash(std::u16string_view text);

}  // namespace nomvarix
