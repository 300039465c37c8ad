#include "view/SystemClipboard.h"

#include <functional>
#include <string_view>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "platform/LineEnds.h"
#include "controls/WxText.h"
#include "text/Utf8Parts.h"

namespace nomvarix {

#ifndef __WXMSW__
namespace {

/// The toolkit's clipboard, opened for one operation and closed at its end.
class OpenedWxClipboard {
 public:
  OpenedWxClipboard() : open_(wxTheClipboard->Open()) {}
  OpenedWxClipboard(const OpenedWxClipboard&) = delete;
  OpenedWxClipboard& operator=(const OpenedWxClipboard&) = delete;
  ~OpenedWxClipboard() {
    if (open_) wxTheClipboard->Close();
  }
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

bool OffersText() {
  return wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT);
}

/// The text of `utf8` in parts of a bounded size, with CR LF line ends.
void ForEachPartOfUtf8(std::string_view utf8, const std::function<void(std::u16string_view)>& take) {
  constexpr std::size_t kPartBytes = 1 << 16;
  std::u16string part;
  bool afterCr = false;
  ForEachUtf16Part(utf8, kPartBytes, [&](std::u16string_view decoded) {
    part.clear();
    AppendWithCrLfLineEnds(part, decoded, afterCr);
    take(part);
  });
}

class WxClipboard final : public Clipboard {
 public:
  bool HasText() const override {
    OpenedWxClipboard clipboard;
    return clipboard.IsOpen() && OffersText();
  }

  std::optional<std::u16string> ReadText() const override {
    OpenedWxClipboard clipboard;
    if (!clipboard.IsOpen() || !OffersText()) return std::nullopt;
    wxTextDataObject data;
    if (!wxTheClipboard->GetData(data)) return std::nullopt;
    return ToCrLfLineEnds(FromWx(data.GetText()));
  }

 private:
  /// Text offered only in another form, through the toolkit's text object.
  static bool ReadWholeText(const OpenedWxClipboard& clipboard, const std::function<void(std::u16string_view)>& take) {
    wxTextDataObject data;
    if (!clipboard.IsOpen() || !OffersText() || !wxTheClipboard->GetData(data)) return false;
    take(ToCrLfLineEnds(FromWx(data.GetText())));
    return true;
  }

 public:

  bool ReadTextInParts(const std::function<void(std::u16string_view)>& take) const override {
    OpenedWxClipboard clipboard;
    if (!clipboard.IsOpen() || !wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) return ReadWholeText(clipboard, take);
    // The UTF-8 bytes as they came: the toolkit's text object would hold them as wide characters,
    // four bytes each, and copy them again when asked.
    wxCustomDataObject bytes{wxDataFormat(wxDF_UNICODETEXT)};
    if (!wxTheClipboard->GetData(bytes)) return false;
    ForEachPartOfUtf8({static_cast<const char*>(bytes.GetData()), bytes.GetSize()}, take);
    return true;
  }

  bool WriteText(std::u16string_view text) override {
    OpenedWxClipboard clipboard;
    return clipboard.IsOpen() && wxTheClipboard->SetData(new wxTextDataObject(ToWx(ToLfLineEnds(text))));
  }
};

}  // namespace
#endif

std::unique_ptr<Clipboard> MakeSystemClipboard() {
#ifdef __WXMSW__
  return MakeWin32Clipboard();
#else
  return std::make_unique<WxClipboard>();
#endif
}

}  // namespace nomvarix
