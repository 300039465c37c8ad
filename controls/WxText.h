#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>
#include <wx/strconv.h>

namespace nomvarix {

/// UTF-16 text for display by the toolkit. An escaped undecodable byte shows as U+FFFD.
wxString ToWx(std::u16string_view text);

/// UTF-16 text for the toolkit to keep and hand back, not to show: an escaped undecodable byte
/// stays a lone surrogate, so that FromWx gives the same text back.
wxString ToWxKept(std::u16string_view text);

/// The toolkit's text as UTF-16.
std::u16string FromWx(const wxString& text);

/// Bytes to and from the toolkit's text as text/Utf16.h converts them: UTF-8, each byte that is
/// not part of it carried through as an escaped code unit, both ways. Text kept by ToWxKept is
/// written back as the bytes it was read from.
class LosslessUtf8Conv final : public wxMBConv {
 public:
  size_t ToWChar(wchar_t* dst, size_t dstLen, const char* src, size_t srcLen = wxNO_LEN) const override;
  size_t FromWChar(char* dst, size_t dstLen, const wchar_t* src, size_t srcLen = wxNO_LEN) const override;
  size_t GetMBNulLen() const override { return 1; }
  wxMBConv* Clone() const override { return new LosslessUtf8Conv; }
};

}  // namespace nomvarix
