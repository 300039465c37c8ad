#include "controls/WxText.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

// wxString holds UTF-16 where wchar_t has 16 bits (Windows) and UTF-32 elsewhere.
static_assert(sizeof(wchar_t) == 2 || sizeof(wchar_t) == 4);

/// UTF-16 as wide characters; a lone surrogate becomes `loneSurrogate`, or stays when that is 0.
std::wstring ToWide(std::u16string_view text, wchar_t loneSurrogate) {
  if constexpr (sizeof(wchar_t) == 2) return std::wstring(text.begin(), text.end());
  std::wstring wide;
  wide.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    const bool high = u >= 0xD800 && u <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      wide.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00)));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF && loneSurrogate != 0) {
      wide.push_back(loneSurrogate);
    } else {
      wide.push_back(static_cast<wchar_t>(u));
    }
  }
  return wide;
}

std::u16string FromWide(std::wstring_view wide) {
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

/// Copies `converted` to `dst` when there is one; its length, or wxCONV_FAILED when it does not fit.
template <typename Char, typename Text>
size_t CopyOut(Char* dst, size_t dstLen, const Text& converted) {
  if (dst) {
    if (converted.size() > dstLen) return wxCONV_FAILED;
    std::copy(converted.begin(), converted.end(), dst);
  }
  return converted.size();
}

}  // namespace

wxString ToWx(std::u16string_view text) { return wxString(ToWide(text, L'\uFFFD')); }

wxString ToWxKept(std::u16string_view text) { return wxString(ToWide(text, 0)); }

std::u16string FromWx(const wxString& text) { return FromWide(text.ToStdWstring()); }

// Without a length, the text runs up to its terminating NUL, which is converted with it.
size_t LosslessUtf8Conv::ToWChar(wchar_t* dst, size_t dstLen, const char* src, size_t srcLen) const {
  const std::string_view bytes(src, srcLen == wxNO_LEN ? std::strlen(src) + 1 : srcLen);
  return CopyOut(dst, dstLen, ToWide(FromUtf8(bytes), 0));
}

size_t LosslessUtf8Conv::FromWChar(char* dst, size_t dstLen, const wchar_t* src, size_t srcLen) const {
  const std::wstring_view wide(src, srcLen == wxNO_LEN ? std::wcslen(src) + 1 : srcLen);
  return CopyOut(dst, dstLen, ToUtf8(FromWide(wide)));
}

}  // namespace nomvarix
