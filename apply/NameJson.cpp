#include "apply/NameJson.h"

#include <cstdint>

#include "apply/RenameBatch.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Json = nlohmann::json;

bool IsUnicode(std::u16string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsHighSurrogate(name[i]) && i + 1 < name.size() && IsLowSurrogate(name[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(name[i]) || IsLowSurrogate(name[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

Json NameJson(std::u16string_view name) {
  if (IsUnicode(name)) return ToUtf8(name);
  Json units = Json::array();
  for (const char16_t unit : name) units.push_back(static_cast<unsigned>(unit));
  return units;
}

std::optional<std::u16string> NameOf(const Json& value) {
  if (value.is_string()) {
    const std::u16string name = FromUtf8(value.get_ref<const std::string&>());
    return IsUnicode(name) ? std::optional(name) : std::nullopt;
  }
  if (!value.is_array()) return std::nullopt;
  std::u16string name;
  for (const Json& unit : value) {
    if (!unit.is_number_unsigned() || unit.get<std::uint64_t>() > 0xFFFF) return std::nullopt;
    name.push_back(static_cast<char16_t>(unit.get<std::uint64_t>()));
  }
  return name;
}

std::optional<std::u16string> FileNameOf(const Json& value) {
  std::optional<std::u16string> name = NameOf(value);
  if (name && LeavesTheFolder(*name)) return std::nullopt;
  return name;
}

}  // namespace nomvarix
