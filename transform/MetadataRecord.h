#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/FileSystem.h"

namespace nomvarix {

enum class MetadataGroup { Photo, Audio, File };

/// How a field's value is shown in a name.
enum class MetadataKind {
  Text,      ///< as recorded, cleaned for a name
  Number,    ///< digits; a format of digits ("2") pads with zeros to that width
  Decimal,   ///< "50", "2.8": at most one decimal, none when whole
  Exposure,  ///< seconds: "1-250" below one second, else as a Decimal
  Duration,  ///< seconds: "3-07", "1-02-03" from an hour on
  Date,      ///< a date and time, by a format of yyyy yy MM dd HH mm ss ("yyyy-MM-dd" when none)
};

struct MetadataField {
  std::u16string_view name;
  MetadataGroup group;
  MetadataKind kind;
};

/// The fields a pattern may name, in the order the dialog lists them.
std::span<const MetadataField> MetadataFields();

/// The field of that name (exact case); null when there is none.
const MetadataField* FindMetadataField(std::u16string_view name);

using MetadataValue = std::variant<std::u16string, std::uint64_t, double, FileClock::time_point>;

/// One file's values by field name: a field the file lacks is absent.
using MetadataRecord = std::map<std::u16string, MetadataValue, std::less<>>;

/// Which readers a set of fields needs: photos and sounds are only read when asked for.
struct MetadataNeeds {
  bool photo = false;
  bool audio = false;
  bool file = false;
};

/// The values of the file at `path` for the groups `needs` asks for. The File group gives Name
/// (without the extension), Extension (without the "."), Size and Modified from the file system
/// without opening the file.
MetadataRecord ReadMetadataRecord(const FileSystem& fileSystem, std::u16string_view path, MetadataNeeds needs);

}  // namespace nomvarix
