#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "transform/MetadataRecord.h"

namespace nomvarix {

/// A value made fit for a file name: control characters (IsControlCharacter) dropped, the
/// characters names may not hold on any platform (\ / : * ? " < > |) and undecodable bytes made
/// "_", white space trimmed from both ends. "  AC/DC\t" gives "AC_DC".
std::u16string CleanMetadataValue(std::u16string_view value);

/// `time` by a format of yyyy, yy, MM, dd, HH, mm and ss, every other character kept:
/// "yyyy-MM-dd HH-mm" gives "2019-07-14 16-05".
std::u16string FormatMetadataDate(FileClock::time_point time, std::u16string_view format);

/// The readers the fields of `pattern` need.
MetadataNeeds NeedsOf(std::u16string_view pattern);

/// `pattern` with each "{Field}" or "{Field:format}" replaced by the record's value, formatted as
/// the field's kind says and cleaned (CleanMetadataValue); a brace that names no field is kept as
/// it is. A field the record lacks takes `fallback` (cleaned) when there is one; without one the
/// whole pattern gives nothing. "{Track:2} - {Title}" gives "03 - Intro".
std::optional<std::u16string> ExpandMetadataPattern(std::u16string_view pattern, const MetadataRecord& record,
                                                    const std::optional<std::u16string>& fallback);

/// How many of `records` lack a field of `pattern` (their lines would be left as they are).
std::size_t CountMissingFields(std::u16string_view pattern, std::span<const MetadataRecord> records);

}  // namespace nomvarix
