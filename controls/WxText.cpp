#include "controls/WxText.h"

namespace nomvarix {

// wxString holds UTF-16 where wchar_t has 16 bits (Windows) and UTF-32 elsewhere.
static_assert(sizeof(wchar_t) == 2 || sizeof(wchar_t) == 4);

wxString ToWx(std::u16string_view text) {
  if constexpr (sizeof(wchar_t) == 2) {
    return wxString(reinterpret_cast<const wchar_t*>(text.data()), text.size());
  }
  std::wstring wide;
  wide.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    const bool high = u >= 0xD800 && u <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      wide.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00)));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      wide.push_back(L'\uFFFD');
    } else {
      wide.push_back(static_cast<wchar_t>(u));
    }
  }
  return wxString(wide);
}

std::u16string FromWx(const wxString& text) {
  const std::wstring wide = text.ToStdWstring();
  if constexpr (sizeof(wchar_t) == 2) return std::u16string(wide.begin(), wide.end());
  std::u16string out;
  out.reserve(wide.size());
  for (const wchar_t ch : wide) {
    const auto cp = static_cast<char32_t>(ch);
    if (cp < 0x10000) {
      out.push_back(static_cast<char16_t>(cp));
    } else {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

}  // namespace nomvarix
