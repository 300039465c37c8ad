#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

#include <wx/string.h>

class wxDC;
class wxFont;

namespace nomvarix {

/// The widths of single characters in one font, each measured once, to a 64th of a pixel: the sum
/// over a name bounds the name's own width without measuring the name.
class GlyphWidths {
 public:
  /// A width that `name`, measured whole in `dc`'s font (this table's font), does not exceed:
  /// its characters' own widths plus Slack. Nothing for a name whose shaping joins or reorders
  /// characters (marks, joining scripts, controls, surrogates): only measuring it whole tells.
  std::optional<int> UpperBound(wxDC& dc, std::u16string_view name);

  /// True when `c` in `dc`'s font (this table's font) is `width` pixels wide to a 64th of a pixel
  /// and shapes on its own: in a run of up to kExactRun such characters drawn at once, each lies
  /// within a quarter pixel of `width` pixels after the one before.
  bool IsExactly(wxDC& dc, char16_t c, int width) { return RunWidth(dc, c) == kRun * width; }
  static constexpr std::size_t kExactRun = 32;

  /// The width of a run of kRun copies of `c`, measured on first use; negative for a character
  /// that ShapesWithNeighbours.
  int RunWidth(wxDC& dc, char16_t c);

  /// The bound of a name of `length` characters whose characters' run widths add up to `runWidths`.
  static int PixelBound(std::int64_t runWidths, std::size_t length) {
    // Each run's measurement may be a pixel short: a kRun-th of a pixel per character.
    return static_cast<int>((runWidths + static_cast<std::int64_t>(length) + kRun - 1) / kRun) + Slack(length);
  }

  /// How far the sum of the characters' own widths may fall short of a name's measured width:
  /// a pixel per character for kerning, and one for rounding the whole.
  static int Slack(std::size_t length) { return static_cast<int>(length) + 1; }

 private:
  static constexpr int kRun = 64;  ///< a character is measured as a run of this many copies
  static constexpr std::int32_t kUnmeasured = -1;
  static constexpr std::int32_t kShaped = -2;
  using Page = std::array<std::int32_t, 256>;


  std::array<std::unique_ptr<Page>, 256> pages_;
};

/// One GlyphWidths per font the view has drawn names with, so that stepping the font size back
/// and forth measures each character once per size.
class GlyphWidthCache {
 public:
  GlyphWidths& For(const wxFont& font);

 private:
  std::map<wxString, GlyphWidths> fonts_;
};

/// True for a character that a text shaper may join with its neighbours, reorder or draw with
/// no width of its own, so that its width alone says nothing about the width of a name.
bool ShapesWithNeighbours(char16_t c);

}  // namespace nomvarix
