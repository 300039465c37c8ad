#pragma once

#include <cstdint>

namespace nomvarix {

/// The editor's geometry in pixels, as the view measured it from its fonts and window size.
struct ViewMetrics {
  std::int32_t lineHeight = 0;    ///< pixels per line
  std::int32_t charWidth = 1;     ///< pixels per character of the fixed-pitch font
  std::int32_t textTop = 0;       ///< y of the first line
  std::int32_t dividerX = 0;      ///< x of the divider between disk names and text
  std::int32_t textMargin = 0;    ///< gap between the divider and column 0
  std::int32_t clientWidth = 0;
  std::int32_t clientHeight = 0;

  bool operator==(const ViewMetrics&) const = default;
};

/// What one scroll bar shows: the range [minimum, maximum], the page and the position. A bar
/// whose page covers its whole range stays visible but disabled.
struct ScrollBarValues {
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
  std::int32_t page = 0;
  std::int32_t position = 0;

  bool operator==(const ScrollBarValues&) const = default;
};

}  // namespace nomvarix
