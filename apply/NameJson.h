#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace nomvarix {

/// A name as the program's state files write it: a JSON string when it is valid Unicode, else the
/// array of its UTF-16 code units, so that a name holding an undecodable byte (U+DC80 + byte) or a
/// lone surrogate comes back exactly.
///   u"photo.jpg" -> "photo.jpg"        u"caf\xDCE9" -> [99, 97, 102, 56553]
nlohmann::json NameJson(std::u16string_view name);

/// The name back from NameJson; nothing for a value it cannot have written.
std::optional<std::u16string> NameOf(const nlohmann::json& value);

/// As NameOf, and nothing as well for a name that could reach outside its folder (LeavesTheFolder):
/// a state file never makes the program touch anything beyond the folder it names.
std::optional<std::u16string> FileNameOf(const nlohmann::json& value);

}  // namespace nomvarix
