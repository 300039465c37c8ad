#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

/// CR LF pairs as LF, for a clipboard whose lines end with LF; lone CRs stay.
std::u16string ToLfLineEnds(std::u16string_view text);

/// Every LF not already after a CR as CR LF, for text from a clipboard whose lines end with LF.
std::u16string ToCrLfLineEnds(std::u16string_view text);

/// As ToCrLfLineEnds for text that comes in parts, appending to `out`: `afterCr` says whether the
/// part before ended with a CR, and is set for the next part.
void AppendWithCrLfLineEnds(std::u16string& out, std::u16string_view part, bool& afterCr);

}  // namespace nomvarix
