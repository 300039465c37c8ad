#include "text/CaseMapping.h"

#include <optional>

#include "text/Utf16.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/uchar.h>
#endif

namespace nomvarix {
namespace {

#ifdef _WIN32

/// The title form of the four Latin digraphs (DŽ, LJ, NJ, DZ), the only letters whose title form is
/// not their capital; empty for every other character. The system's own title mapping is not used:
/// Wine leaves these letters as they are.
std::optional<std::uint32_t> DigraphTitle(std::uint32_t codePoint) {
  if (codePoint >= 0x01C4 && codePoint <= 0x01CC) return 0x01C5 + (codePoint - 0x01C4) / 3 * 3;
  if (codePoint >= 0x01F1 && codePoint <= 0x01F3) return 0x01F2;
  return std::nullopt;
}

std::uint32_t SystemMapped(std::uint32_t codePoint, CaseForm form) {
  if (form == CaseForm::Title) {
    if (const std::optional<std::uint32_t> title = DigraphTitle(codePoint)) return *title;
    form = CaseForm::Upper;
  }
  wchar_t in[2];
  int length = 1;
  if (NeedsTwoUnits(codePoint)) {
    in[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
    in[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    length = 2;
  } else {
    in[0] = static_cast<wchar_t>(codePoint);
  }
  const DWORD flags = form == CaseForm::Upper ? LCMAP_UPPERCASE : LCMAP_LOWERCASE;
  wchar_t out[4];
  const int written = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, in, length, out, 4, nullptr, nullptr, 0);
  if (written == 1 && !IsHighSurrogate(out[0]) && !IsLowSurrogate(out[0])) return out[0];
  if (written == 2 && IsHighSurrogate(out[0]) && IsLowSurrogate(out[1])) {
    return 0x10000 + ((static_cast<std::uint32_t>(out[0]) - 0xD800) << 10) + (static_cast<std::uint32_t>(out[1]) - 0xDC00);
  }
  return codePoint;
}

#else

std::uint32_t SystemMapped(std::uint32_t codePoint, CaseForm form) {
  const auto c = static_cast<UChar32>(codePoint);
  return static_cast<std::uint32_t>(form == CaseForm::Upper ? u_toupper(c) : form == CaseForm::Lower ? u_tolower(c) : u_totitle(c));
}

#endif

}  // namespace

std::uint32_t CaseMapped(std::uint32_t codePoint, CaseForm form) {
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return codePoint;
  // Plain ASCII needs no table, and most names are mostly ASCII.
  if (codePoint < 0x80) {
    const bool lower = codePoint >= 'a' && codePoint <= 'z';
    const bool upper = codePoint >= 'A' && codePoint <= 'Z';
    if (form == CaseForm::Lower) return upper ? codePoint + ('a' - 'A') : codePoint;
    return lower ? codePoint - ('a' - 'A') : codePoint;
  }
  const std::uint32_t mapped = SystemMapped(codePoint, form);
  return NeedsTwoUnits(mapped) == NeedsTwoUnits(codePoint) ? mapped : codePoint;
}

}  // namespace nomvarix
