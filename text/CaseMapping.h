#pragma once

#include <cstdint>

namespace nomvarix {

/// The three case forms of a character.
enum class CaseForm { Upper, Lower, Title };

/// `codePoint` in case form `form` by the Unicode simple case mapping (one code point to one, the
/// same in every locale): "Ö" lowered is "ö", "ǆ" in title case "ǅ", "ß" raised stays "ß". A code
/// point whose mapping would take another number of UTF-16 units stays as it is, and so does a
/// surrogate (an undecodable byte): mapping case never changes the length of a name.
std::uint32_t CaseMapped(std::uint32_t codePoint, CaseForm form);

}  // namespace nomvarix
