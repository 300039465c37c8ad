#include "view/GlyphWidths.h"

#include <wx/dc.h>
#include <wx/font.h>

namespace nomvarix {

bool ShapesWithNeighbours(char16_t c) {
  struct Range {
    char16_t first, last;
  };
  // Controls, combining marks, the joining and reordering scripts, conjoining jamo, zero-width
  // and direction characters, variation selectors, presentation forms and surrogates.
  static constexpr Range kRanges[] = {
      {0x0000, 0x001F}, {0x007F, 0x009F}, {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0590, 0x08FF},
      {0x0900, 0x0DFF}, {0x0E00, 0x0FFF}, {0x1000, 0x109F}, {0x1100, 0x11FF}, {0x1700, 0x18AF},
      {0x1A00, 0x1AFF}, {0x1B00, 0x1BFF}, {0x1CD0, 0x1CFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F},
      {0x2028, 0x202E}, {0x2060, 0x206F}, {0x20D0, 0x20FF}, {0x302A, 0x302F}, {0x3099, 0x309A},
      {0xA8E0, 0xA8FF}, {0xA980, 0xAAFF}, {0xD800, 0xDFFF}, {0xFB1D, 0xFDFF}, {0xFE00, 0xFE0F},
      {0xFE20, 0xFE2F}, {0xFE70, 0xFEFF}, {0xFFF9, 0xFFFB}};
  for (const Range& range : kRanges) {
    if (c < range.first) return false;
    if (c <= range.last) return true;
  }
  return false;
}

int GlyphWidths::RunWidth(wxDC& dc, char16_t c) {
  std::unique_ptr<Page>& page = pages_[c >> 8];
  if (!page) {
    page = std::make_unique<Page>();
    page->fill(kUnmeasured);
  }
  std::int32_t& runWidth = (*page)[c & 0xFF];
  if (runWidth == kUnmeasured) {
    // A run of copies gives the width to a fraction of a pixel, where one copy would round it.
    runWidth = ShapesWithNeighbours(c) ? kShaped
                                      : dc.GetTextExtent(wxString(kRun, wxUniChar(static_cast<unsigned>(c)))).x;
  }
  return runWidth;
}

std::optional<int> GlyphWidths::UpperBound(wxDC& dc, std::u16string_view name) {
  std::int64_t sum = 0;
  for (const char16_t c : name) {
    const Page* page = pages_[c >> 8].get();
    std::int32_t width = page ? (*page)[c & 0xFF] : kUnmeasured;
    if (width == kUnmeasured) width = RunWidth(dc, c);
    if (width == kShaped) return std::nullopt;
    sum += width;
  }
  return PixelBound(sum, name.size());
}

GlyphWidths& GlyphWidthCache::For(const wxFont& font) { return fonts_[font.GetNativeFontInfoDesc()]; }

}  // namespace nomvarix
