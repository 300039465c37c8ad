#include "view/WxText.h"

namespace nomvarix {

#if SIZEOF_WCHAR_T == 2

wxString ToWx(std::u16string_view text) {
  return wxString(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

std::u16string FromWx(const wxString& text) {
  const std::wstring wide = text.ToStdWstring();
  return std::u16string(wide.begin(), wide.end());
}

#else

wxString ToWx(std::u16string_view text) {
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
  std::u16string out;
  out.reserve(text.length());
  for (const wxUniChar ch : text) {
    const wxUint32 cp = ch.GetValue();
    if (cp < 0x10000) {
      out.push_back(static_cast<char16_t>(cp));
    } else {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

#endif

}  // namespace nomvarix
