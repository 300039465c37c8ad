#include "apply/SavedEdits.h"

#include <functional>

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

/// `value` as a JSON string, escaped as a JSON dump escapes it.
void AppendJsonString(std::string& text, std::string_view value) {
  static constexpr char kHex[] = "0123456789abcdef";
  text += '"';
  for (const char c : value) {
    switch (c) {
      case '"': text += "\\\""; break;
      case '\\': text += "\\\\"; break;
      case '\b': text += "\\b"; break;
      case '\f': text += "\\f"; break;
      case '\n': text += "\\n"; break;
      case '\r': text += "\\r"; break;
      case '\t': text += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          text += "\\u00";
          text += kHex[(c >> 4) & 0xF];
          text += kHex[c & 0xF];
        } else {
          text += c;
        }
    }
  }
  text += '"';
}

template <typename Number>
void AppendMember(std::string& text, const char* key, Number value) {
  text += ",\"";
  text += key;
  text += "\":";
  text += std::to_string(value);
}

/// ',' and the stamp's object.
void AppendStamp(std::string& text, const FileStamp& stamp) {
  text += ",{\"volume\":" + std::to_string(stamp.identity.volume);
  AppendMember(text, "file", stamp.identity.file);
  const FileAttributes& attributes = stamp.attributes;
  if (attributes.size) AppendMember(text, "size", *attributes.size);
  if (attributes.modified) AppendMember(text, "modified", *attributes.modified);
  if (attributes.created) AppendMember(text, "created", *attributes.created);
  text += '}';
}

/// One edit as written: a pair of names, with or without a stamp; nothing when it is not one.
std::optional<SavedEdit> ReadEdit(const Json& edit) {
  if (!edit.is_array() || edit.size() < 2 || edit.size() > 3) return std::nullopt;
  auto original = DecodeJsonName(edit[0]);
  auto renamed = DecodeJsonName(edit[1]);
  if (!original || !renamed) return std::nullopt;
  std::optional<FileStamp> stamp;
  if (edit.size() == 3 && !(stamp = ReadStamp(edit[2]))) return std::nullopt;
  return SavedEdit{std::move(*original), std::move(*renamed), stamp};
}

/// Takes each edit out of the document as the parser completes it, so that the document never
/// holds more than one: a million edits as JSON values would take several times the file's size.
/// A folder's "edits" becomes the number of its list in `lists`.
class EditsTaker {
 public:
  // The depths the parser tells: the file's object 0, "folders" 1, a folder 2, its "edits" 3, an edit 4.
  bool operator()(int depth, nlohmann::json::parse_event_t event, Json& parsed) {
    using Event = nlohmann::json::parse_event_t;
    if (event == Event::key && depth == 3) inEdits_ = parsed == "edits";
    if (event == Event::array_end && depth == 4 && inEdits_) {
      std::optional<SavedEdit> edit = ReadEdit(parsed);
      if (!edit) damaged = true;
      if (edit) current_.push_back(std::move(*edit));
      return false;
    }
    if (event == Event::object_end && depth == 2) {
      const auto edits = parsed.find("edits");
      if (edits != parsed.end() && edits->is_array() && edits->empty()) *edits = lists.size();
      lists.push_back(std::move(current_));
      current_.clear();
      inEdits_ = false;
    }
    return true;
  }

  std::vector<std::vector<SavedEdit>> lists;
  bool damaged = false;

 private:
  std::vector<SavedEdit> current_;
  bool inEdits_ = false;
};

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
  // Written straight into the text, in the order and spelling of a compact JSON dump: a DOM of a
  // million edits would take several times the file's size.
  std::string text = "{\"version\":" + std::to_string(kSavedEditsVersion) + ",\"folders\":[";
  bool firstFolder = true;
  for (const auto& [folder, saved] : folders) {
    text += firstFolder ? "{\"folder\":" : ",{\"folder\":";
    firstFolder = false;
    AppendJsonString(text, EncodeSavedName(folder));
    text += ",\"edits\":[";
    for (std::size_t i = 0; i < saved.size(); ++i) {
      const SavedEdit& edit = saved[i];
      text += i == 0 ? "[" : ",[";
      AppendJsonString(text, EncodeSavedName(edit.original));
      text += ',';
      AppendJsonString(text, EncodeSavedName(edit.renamed));
      if (edit.stamp) AppendStamp(text, *edit.stamp);
      text += ']';
    }
    text += "]}";
  }
  text += "]}\n";
  return text;
}

SavedEditsContent ReadSavedEdits(std::string_view bytes) {
  using Kind = SavedEditsContent::Kind;
  if (bytes.empty()) return {};
  EditsTaker taker;
  const Json file = Json::parse(bytes, std::ref(taker), false);
  if (!file.is_object() || !file.contains("version") || !file["version"].is_number_integer()) {
    return Unreadable(Kind::Damaged);
  }
  if (file["version"].get<long long>() > kSavedEditsVersion) return Unreadable(Kind::Newer);
  const auto folders = file.find("folders");
  if (taker.damaged || folders == file.end() || !folders->is_array()) return Unreadable(Kind::Damaged);
  SavedEditsContent content;
  for (const Json& entry : *folders) {
    if (!entry.is_object() || !entry.contains("folder") || !entry.contains("edits")) return Unreadable(Kind::Damaged);
    auto folder = DecodeJsonName(entry["folder"]);
    const Json& edits = entry["edits"];
    if (!folder || !edits.is_number_unsigned() || edits.get<std::size_t>() >= taker.lists.size()) {
      return Unreadable(Kind::Damaged);
    }
    std::vector<SavedEdit>& list = taker.lists[edits.get<std::size_t>()];
    if (!list.empty()) content.folders[std::move(*folder)] = std::move(list);
  }
  return content;
}

}  // namespace nomvarix
