#pragma once

#include <string_view>

namespace nomvarix {

/// Three-way comparison in which every run of ASCII digits counts as one number: runs compare by
/// their value, so "IMG2" < "IMG10" and "a07" < "a10". Strings equal but for how their numbers are
/// written are told apart by the first run whose length differs, the shorter first: "a7" < "a07",
/// yet "a07.png" < "a7.txt". Runs of any length compare without overflow. Every other code unit
/// compares as CompareOrdinal does; a digit and any other code unit by their code units, so the
/// order is total: only equal strings compare equal. Negative, zero or positive.
int CompareNatural(std::u16string_view a, std::u16string_view b);

/// As CompareNatural, after folding A..Z on both sides; strings differing only in A..Z against
/// a..z compare equal.
int CompareNaturalFolded(std::u16string_view a, std::u16string_view b);

/// The order of names shown to a person: as CompareNaturalFolded, with the names it finds equal
/// told apart by CompareNatural ("Alpha" before "alpha"), so that only equal strings compare equal.
int CompareNaturalFoldedFirst(std::u16string_view a, std::u16string_view b);

}  // namespace nomvarix
