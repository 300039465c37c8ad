#include "view/SystemClipboard.h"

#include <wx/clipbrd.h>

#include "platform/LineEnds.h"
#include "controls/WxText.h"

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
