#include "text/CharClass.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/uchar.h>
#endif

namespace nomvarix {
namespace {

/// The marks (LRM, RLM, ALM), embeddings, overrides and isolates that set the direction of text.
bool IsDirectionControl(char16_t u) {
  return u == 0x200E || u == 0x200F || u == 0x061C || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

}  // namespace

#ifdef _WIN32

namespace {
WORD TypeBits(char16_t u) {
  WORD bits = 0;
  const wchar_t ch = static_cast<wchar_t>(u);
  return GetStringTypeW(CT_CTYPE1, &ch, 1, &bits) ? bits : 0;
}
}  // namespace

bool IsWhiteSpace(char16_t u) { return (TypeBits(u) & C1_SPACE) != 0; }
bool IsUpperCase(char16_t u) { return (TypeBits(u) & C1_UPPER) != 0; }
bool IsDigit(char16_t u) { return (TypeBits(u) & C1_DIGIT) != 0; }
bool IsAlphanumeric(char16_t u) { return (TypeBits(u) & (C1_ALPHA | C1_DIGIT)) != 0; }

namespace {
/// MovesInBidiLayout, asked of the system's character tables.
bool HasMovingDirection(char16_t u) {
  WORD direction = 0;
  const wchar_t ch = static_cast<wchar_t>(u);
  if (!GetStringTypeW(CT_CTYPE2, &ch, 1, &direction)) return false;
  return direction == C2_RIGHTTOLEFT || direction == C2_ARABICNUMBER || IsDirectionControl(u);
}
}  // namespace

#else

bool IsWhiteSpace(char16_t u) { return u_isspace(u); }
bool IsUpperCase(char16_t u) { return u_isupper(u); }
bool IsDigit(char16_t u) { return u_isdigit(u); }
bool IsAlphanumeric(char16_t u) { return u_isalnum(u); }

namespace {
/// MovesInBidiLayout, asked of the system's character tables.
bool HasMovingDirection(char16_t u) {
  switch (u_charDirection(u)) {
    case U_RIGHT_TO_LEFT:
    case U_RIGHT_TO_LEFT_ARABIC:
    case U_ARABIC_NUMBER:
      return true;
    default:
      return IsDirectionControl(u);
  }
}
}  // namespace

#endif

bool MovesInBidiLayout(char16_t u) {
  // Nothing right-to-left, no Arabic digit and no direction control lies below the Hebrew block;
  // the painter asks this of every character it draws.
  constexpr char16_t kFirstRightToLeftBlock = 0x0590;
  return u >= kFirstRightToLeftBlock && HasMovingDirection(u);
}

std::u16string_view TrimmedWhiteSpace(std::u16string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace nomvarix
