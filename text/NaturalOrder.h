#pragma once

#include <string_view>

namespace nomvarix {

/// Three-way comparison of names as a person reads them: a run of ASCII digits compares with a run
/// of digits by its value ("img2" before "img10", however long the runs), everything else code
/// unit by code unit after folding A..Z. Negative, zero or positive.
///
/// Names that read the same still get an order, so that the order is total: fewer leading zeros
/// first ("a1" before "a01"), then the plain code units ("IMG" before "img").
int CompareNatural(std::u16string_view a, std::u16string_view b);

}  // namespace nomvarix
