#include "text/CharClass.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/uchar.h>
#endif

namespace nomvarix {

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

#else

bool IsWhiteSpace(char16_t u) { return u_isspace(u); }
bool IsUpperCase(char16_t u) { return u_isupper(u); }
bool IsDigit(char16_t u) { return u_isdigit(u); }
bool IsAlphanumeric(char16_t u) { return u_isalnum(u); }

#endif

std::u16string_view TrimmedWhiteSpace(std::u16string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace nomvarix
