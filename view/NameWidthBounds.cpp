#include "view/NameWidthBounds.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <wx/dc.h>
#include <wx/font.h>

#include "view/GlyphWidths.h"

namespace nomvarix {

void NameWidthBounds::SumWithReference(wxDC& dc, const NameList& names, std::uint64_t generation,
                                       const wxFont& font) {
  reference_ = &widths_.For(font);
  generation_ = generation;
  summed_ = true;
  sums_.assign(names.size(), Sum{0, 0});
  std::vector<bool> seen(0x10000, false);
  characters_.clear();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::u16string& name = names[i].originalName;
    std::int64_t sum = 0;
    for (const char16_t c : name) {
      if (!seen[c]) {
        seen[c] = true;
        characters_.push_back(c);
      }
      const int width = reference_->RunWidth(dc, c);
      sum += width;
      // A name too long to sum in the space kept for it is measured, like one that shapes.
      if (width < 0 || sum > std::numeric_limits<std::int32_t>::max()) {
        sum = kShaped;
        break;
      }
    }
    sums_[i] = {static_cast<std::int32_t>(sum), static_cast<std::uint32_t>(name.size())};
  }
}

double NameWidthBounds::LargestRatio(wxDC& dc, GlyphWidths& widths) const {
  double ratio = 0;
  for (const char16_t c : characters_) {
    const int reference = reference_->RunWidth(dc, c);
    const int width = widths.RunWidth(dc, c);
    if (reference < 0 || width <= 0) continue;  // a name with it is measured anyway, or adds nothing
    if (reference == 0) return std::numeric_limits<double>::infinity();
    ratio = std::max(ratio, static_cast<double>(width) / reference);
  }
  return ratio;
}

std::vector<std::pair<int, std::size_t>> NameWidthBounds::Candidates(wxDC& dc, const NameList& names,
                                                                     std::uint64_t generation, const wxFont& font,
                                                                     int narrowest) {
  if (!summed_ || generation != generation_ || sums_.size() != names.size()) {
    SumWithReference(dc, names, generation, font);
  }
  GlyphWidths& widths = widths_.For(font);
  // Rounded up a little more than floating point could ever err.
  const double ratio = LargestRatio(dc, widths) * (1 + 1e-9);
  std::vector<std::pair<int, std::size_t>> candidates;
  constexpr int kUnbounded = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < sums_.size(); ++i) {
    int bound = kUnbounded;
    const Sum& sum = sums_[i];
    if (sum.runWidths != kShaped && std::isfinite(ratio)) {
      const double scaled = std::ceil(ratio * static_cast<double>(sum.runWidths));
      bound = GlyphWidths::PixelBound(static_cast<std::int64_t>(scaled), sum.length);
    }
    if (bound > narrowest) candidates.emplace_back(bound, i);
  }
  return candidates;
}

}  // namespace nomvarix
