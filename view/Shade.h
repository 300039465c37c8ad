#pragma once

#include <algorithm>

#include <wx/colour.h>

namespace nomvarix {

namespace detail {
/// One channel scaled in single precision, truncated toward zero and kept in 0..255.
inline unsigned char ShadeChannel(float value) {
  return static_cast<unsigned char>(std::clamp(static_cast<int>(value), 0, 255));
}
}  // namespace detail

/// Every channel times `factor`: below 1 darker, above 1 brighter (up to 255).
inline wxColour Darken(const wxColour& colour, float factor) {
  return wxColour(detail::ShadeChannel(colour.Red() * factor), detail::ShadeChannel(colour.Green() * factor),
                  detail::ShadeChannel(colour.Blue() * factor));
}

/// Every channel moved toward 255 by `factor` of the distance.
inline wxColour Lighten(const wxColour& colour, float factor) {
  const auto lighten = [factor](unsigned char c) { return detail::ShadeChannel(c + (255 - c) * factor); };
  return wxColour(lighten(colour.Red()), lighten(colour.Green()), lighten(colour.Blue()));
}

}  // namespace nomvarix
