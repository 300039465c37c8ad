#include "apply/SavedEdits.h"

#include <nlohmann/json.hpp>

#include "platform/Path.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr char16_t kEscape = u'%';
constexpr std::size_t kEscapedLength = 5;  // "%" and four hex digits

void AppendEscaped(std::u16string& out, char16_t unit) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  out += kEscape;
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

std::optional<char16_t> HexUnit(std::u16string_view digits) {
  char16_t unit = 0;
  for (const char16_t digit : digits) {
    unit = static_cast<char16_t>(unit << 4);
    if (digit >= u'0' && digit <= u'9') {
      unit |= digit - u'0';
    } else if (digit >= u'A' && digit <= u'F') {
      unit |= digit - u'A' + 10;
    } else {
      return std::nullopt;
    }
  }
  return unit;
}

using Json = nlohmann::json;

SavedEditsContent Unreadable(SavedEditsContent::Kind kind) {
  SavedEditsContent content;
  content.kind = kind;
  return content;
}

std::optional<std::u16string> DecodeJsonName(const Json& value) {
  if (!value.is_string()) return std::nullopt;
  return DecodeSavedName(value.get_ref<const std::string&>());
}

template <typename Value>
bool ReadOptional(const Json& object, const char* key, std::optional<Value>& value) {
  const auto found = object.find(key);
  if (found == object.end()) return true;
  if (!found->is_number_integer()) return false;
  value = found->get<Value>();
  return true;
}

/// A stamp as WriteStamp writes it; nothing when it is not one.
std::optional<FileStamp> ReadStamp(const Json& json) {
  FileStamp stamp;
  std::optional<std::uint64_t> volume;
  std::optional<std::uint64_t> file;
  FileAttributes& attributes = stamp.attributes;
  if (!json.is_object() || !ReadOptional(json, "volume", volume) || !ReadOptional(json, "file", file) || !volume ||
      !file || !ReadOptional(json, "size", attributes.size) || !ReadOptional(json, "modified", attributes.modified) ||
      !ReadOptional(json, "created", attributes.created)) {
    return std::nullopt;
  }
  stamp.identity = {*volume, *file};
  return stamp;
}

template <typename OrderedJson>
OrderedJson WriteStamp(const FileStamp& stamp) {
  OrderedJson json = {{"volume", stamp.identity.volume}, {"file", stamp.identity.file}};
  const FileAttributes& attributes = stamp.attributes;
  if (attributes.size) json["size"] = *attributes.size;
  if (attributes.modified) json["modified"] = *attributes.modified;
  if (attributes.created) json["created"] = *attributes.created;
  return json;
}

/// The edits of one folder's "edits"; nothing when one of them is not a pair of names, with or
/// without a stamp.
std::optional<std::vector<SavedEdit>> ReadEdits(const Json& edits) {
  if (!edits.is_array()) return std::nullopt;
  std::vector<SavedEdit> read;
  read.reserve(edits.size());
  for (const Json& edit : edits) {
    if (!edit.is_array() || edit.size() < 2 || edit.size() > 3) return std::nullopt;
    auto original = DecodeJsonName(edit[0]);
    auto renamed = DecodeJsonName(edit[1]);
    if (!original || !renamed) return std::nullopt;
    std::optional<FileStamp> stamp;
    if (edit.size() == 3 && !(stamp = ReadStamp(edit[2]))) return std::nullopt;
    read.push_back({std::move(*original), std::move(*renamed), stamp});
  }
  return read;
}

}  // namespace

bool IsKeepableName(std::u16string_view name) {
  return name.find_first_of(std::u16string_view(u"/\0", 2)) == std::u16string_view::npos &&
         name.find(kPathSeparator) == std::u16string_view::npos;
}

std::string EncodeSavedName(std::u16string_view name) {
  std::u16string escaped;
  escaped.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t unit = name[i];
    const bool pairsWithNext = IsHighSurrogate(unit) && i + 1 < name.size() && IsLowSurrogate(name[i + 1]);
    if (pairsWithNext) {
      escaped += unit;
      escaped += name[++i];
    } else if (unit == kEscape || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendEscaped(escaped, unit);
    } else {
      escaped += unit;
    }
  }
  return ToUtf8(escaped);
}

std::optional<std::u16string> DecodeSavedName(std::string_view text) {
  const std::u16string units = FromUtf8(text);
  std::u16string name;
  name.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    // Text this program wrote is valid UTF-8: an undecodable byte here means another writer.
    if (unit >= kEscapedByteFirst && unit <= kEscapedByteLast) return std::nullopt;
    if (unit != kEscape) {
      name += unit;
      continue;
    }
    if (units.size() - i < kEscapedLength) return std::nullopt;
    const auto escaped = HexUnit(std::u16string_view(units).substr(i + 1, kEscapedLength - 1));
    if (!escaped) return std::nullopt;
    name += *escaped;
    i += kEscapedLength - 1;
  }
  return name;
}

std::string WriteSavedEdits(const FolderEdits& folders) {
  // Ordered: a reader sees the version first.
  using OrderedJson = nlohmann::ordered_json;
  OrderedJson list = OrderedJson::array();
  for (const auto& [folder, saved] : folders) {
    OrderedJson edits = OrderedJson::array();
    for (const SavedEdit& edit : saved) {
      OrderedJson entry = OrderedJson::array({EncodeSavedName(edit.original), EncodeSavedName(edit.renamed)});
      if (edit.stamp) entry.push_back(WriteStamp<OrderedJson>(*edit.stamp));
      edits.push_back(std::move(entry));
    }
    list.push_back({{"folder", EncodeSavedName(folder)}, {"edits", std::move(edits)}});
  }
  const OrderedJson file = {{"version", kSavedEditsVersion}, {"folders", std::move(list)}};
  return file.dump() + "\n";
}

SavedEditsContent ReadSavedEdits(std::string_view bytes) {
  using Kind = SavedEditsContent::Kind;
  if (bytes.empty()) return {};
  const Json file = Json::parse(bytes, nullptr, false);
  if (!file.is_object() || !file.contains("version") || !file["version"].is_number_integer()) {
    return Unreadable(Kind::Damaged);
  }
  if (file["version"].get<long long>() > kSavedEditsVersion) return Unreadable(Kind::Newer);
  const auto folders = file.find("folders");
  if (folders == file.end() || !folders->is_array()) return Unreadable(Kind::Damaged);
  SavedEditsContent content;
  for (const Json& entry : *folders) {
    if (!entry.is_object() || !entry.contains("folder") || !entry.contains("edits")) return Unreadable(Kind::Damaged);
    auto folder = DecodeJsonName(entry["folder"]);
    auto edits = ReadEdits(entry["edits"]);
    if (!folder || !edits) return Unreadable(Kind::Damaged);
    if (!edits->empty()) content.folders[std::move(*folder)] = std::move(*edits);
  }
  return content;
}

}  // namespace nomvarix
