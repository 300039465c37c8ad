#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "editor/NameEntry.h"

class wxDC;
class wxFont;

namespace nomvarix {

class GlyphWidthCache;
class GlyphWidths;

/// Bounds of the widths of one list's names in any font, without reading every name again when
/// only the font changed. The first font asked for a list (the reference) sums each name's
/// character widths once; another font scales those sums by the largest ratio of its width to
/// the reference width over the characters the list holds.
class NameWidthBounds {
 public:
  explicit NameWidthBounds(GlyphWidthCache& widths) : widths_(widths) {}

  /// (bound, index) for every name of `names` that may be wider than `narrowest` pixels in `font`
  /// (set on `dc`); no name is wider than its bound. `generation` tells one list from the next
  /// (NameEditor::ListGeneration).
  std::vector<std::pair<int, std::size_t>> Candidates(wxDC& dc, const NameList& names, std::uint64_t generation,
                                                      const wxFont& font, int narrowest);

 private:
  static constexpr std::int32_t kShaped = -1;
  /// Eight bytes a name: the list may hold hundreds of thousands.
  struct Sum {
    std::int32_t runWidths;  ///< in the reference font; kShaped: only measuring tells
    std::uint32_t length;
  };

  void SumWithReference(wxDC& dc, const NameList& names, std::uint64_t generation, const wxFont& font);
  /// The largest ratio of `widths` to the reference widths over the list's characters; nothing
  /// when a reference width is zero.
  double LargestRatio(wxDC& dc, GlyphWidths& widths) const;

  GlyphWidthCache& widths_;
  GlyphWidths* reference_ = nullptr;
  std::uint64_t generation_ = 0;
  bool summed_ = false;
  std::vector<Sum> sums_;  ///< one per name
  std::vector<char16_t> characters_;  ///< the distinct characters of the names
};

}  // namespace nomvarix
