#include "apply/RenameHistory.h"

#include <chrono>
#include <cstdio>
#include <random>

#include <nlohmann/json.hpp>

#include "apply/NameJson.h"
#include "apply/SetAside.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/SharedFile.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kFormat = "nomvarix-rename-history";
constexpr int kVersion = 1;
/// More than the largest history this program keeps: a larger file was not written by it.
constexpr std::size_t kSlackBytes = std::size_t{8} << 20;

constexpr std::pair<HistoryKind, std::string_view> kKindNames[] = {
    {HistoryKind::Apply, "apply"}, {HistoryKind::Undo, "undo"}, {HistoryKind::Recovery, "recovery"}};

std::string_view KindName(HistoryKind kind) {
  for (const auto& [k, name] : kKindNames) {
    if (k == kind) return name;
  }
  return kKindNames[0].second;
}

std::optional<HistoryKind> KindOf(const Json& value) {
  if (!value.is_string()) return std::nullopt;
  for (const auto& [kind, name] : kKindNames) {
    if (value.get_ref<const std::string&>() == name) return kind;
  }
  return std::nullopt;
}

Json EntryJson(const HistoryEntry& entry) {
  Json files = Json::array();
  for (const HistoryFile& file : entry.files) {
    files.push_back({{"volume", file.identity.volume},
                     {"file", file.identity.file},
                     {"old", NameJson(file.oldName)},
                     {"new", NameJson(file.newName)}});
  }
  Json value = {{"id", entry.id},
                {"time", entry.time},
                {"kind", KindName(entry.kind)},
                {"folder", NameJson(entry.folder)},
                {"files", std::move(files)}};
  if (!entry.undoes.empty()) value["undoes"] = entry.undoes;
  return value;
}

std::optional<HistoryFile> FileOf(const Json& value) {
  if (!value.is_object()) return std::nullopt;
  const auto volume = value.find("volume");
  const auto file = value.find("file");
  const auto oldName = value.find("old");
  const auto newName = value.find("new");
  if (volume == value.end() || file == value.end() || oldName == value.end() || newName == value.end() ||
      !volume->is_number_unsigned() || !file->is_number_unsigned()) {
    return std::nullopt;
  }
  std::optional<std::u16string> before = FileNameOf(*oldName);
  std::optional<std::u16string> after = FileNameOf(*newName);
  if (!before || !after || before->empty() || after->empty()) return std::nullopt;
  return HistoryFile{{volume->get<std::uint64_t>(), file->get<std::uint64_t>()}, std::move(*before), std::move(*after)};
}

std::optional<std::string> TextOf(const Json& value, const char* key, bool required) {
  const auto it = value.find(key);
  if (it == value.end()) return required ? std::nullopt : std::optional<std::string>(std::string());
  if (!it->is_string()) return std::nullopt;
  return it->get<std::string>();
}

std::optional<HistoryEntry> EntryOf(const Json& value) {
  if (!value.is_object()) return std::nullopt;
  HistoryEntry entry;
  const std::optional<std::string> id = TextOf(value, "id", true);
  const std::optional<std::string> undoes = TextOf(value, "undoes", false);
  const auto time = value.find("time");
  const auto kind = value.find("kind");
  const auto folder = value.find("folder");
  const auto files = value.find("files");
  if (!id || id->empty() || !undoes || time == value.end() || !time->is_number_integer() || kind == value.end() ||
      folder == value.end() || files == value.end() || !files->is_array()) {
    return std::nullopt;
  }
  const std::optional<HistoryKind> kindValue = KindOf(*kind);
  std::optional<std::u16string> folderName = NameOf(*folder);
  if (!kindValue || !folderName || folderName->empty() || !IsPathSeparator(folderName->back())) return std::nullopt;
  entry.id = *id;
  entry.undoes = *undoes;
  entry.time = time->get<std::int64_t>();
  entry.kind = *kindValue;
  entry.folder = std::move(*folderName);
  for (const Json& fileValue : *files) {
    std::optional<HistoryFile> file = FileOf(fileValue);
    if (!file) return std::nullopt;
    entry.files.push_back(std::move(*file));
  }
  return entry;
}

std::string DocumentText(Json entries) {
  const Json document = {{"format", kFormat}, {"version", kVersion}, {"entries", std::move(entries)}};
  return document.dump(1) + "\n";
}

}  // namespace

std::string NewHistoryEntryId() {
  std::random_device random;
  char id[24];
  std::snprintf(id, sizeof id, "%08x%08x", random(), random());
  return id;
}

HistoryEntry NewHistoryEntry(HistoryKind kind, std::u16string_view folder, std::vector<HistoryFile> files) {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return {NewHistoryEntryId(), std::chrono::duration_cast<std::chrono::seconds>(now).count(), kind,
          std::u16string(folder), {}, std::move(files)};
}

std::string HistoryText(const std::vector<HistoryEntry>& entries) {
  Json values = Json::array();
  for (const HistoryEntry& entry : entries) values.push_back(EntryJson(entry));
  return DocumentText(std::move(values));
}

HistoryContent ParseHistory(std::string_view text) {
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return {};
  const Json value = Json::parse(text, nullptr, false);
  HistoryContent damaged{HistoryContent::Kind::Damaged, {}};
  if (!value.is_object()) return damaged;
  const auto format = value.find("format");
  const auto version = value.find("version");
  const auto entries = value.find("entries");
  if (format == value.end() || *format != std::string(kFormat) || version == value.end() ||
      !version->is_number_integer() || *version < 1) {
    return damaged;
  }
  if (*version > kVersion) return {HistoryContent::Kind::Newer, {}};
  if (entries == value.end() || !entries->is_array()) return damaged;
  HistoryContent content;
  for (const Json& entryValue : *entries) {
    std::optional<HistoryEntry> entry = EntryOf(entryValue);
    if (!entry) return damaged;
    content.entries.push_back(std::move(*entry));
  }
  return content;
}

std::vector<HistoryEntry> BoundedHistory(std::vector<HistoryEntry> entries, const HistoryBounds& bounds) {
  // Counted from the newest back: the first entry that goes beyond a bound and all older ones go.
  std::size_t kept = 0;
  std::size_t bytes = DocumentText(Json::array()).size();
  while (kept < entries.size()) {
    const std::size_t size = EntryJson(entries[entries.size() - 1 - kept]).dump(1).size() + 2;
    if (kept > 0 && (kept + 1 > bounds.entries || bytes + size > bounds.bytes)) break;
    bytes += size;
    ++kept;
  }
  entries.erase(entries.begin(), entries.end() - static_cast<std::ptrdiff_t>(kept));
  return entries;
}

RenameHistory::RenameHistory(std::u16string stateFolder, FileSystem& fileSystem, HistoryBounds bounds)
    : path_(stateFolder.empty() ? std::u16string() : stateFolder + std::u16string(kRenameHistoryFileName)),
      fileSystem_(fileSystem),
      bounds_(bounds) {}

std::vector<HistoryEntry> RenameHistory::Read(std::u16string& message) {
  if (path_.empty()) return {};
  const SharedFileContent content = ReadSharedFileChecked(path_, bounds_.bytes + kSlackBytes);
  switch (content.state) {
    case SharedFileState::kMissing: return {};
    case SharedFileState::kUnreadable:
      message = u"The rename history " + path_ + u" cannot be read.";
      return {};
    case SharedFileState::kNotAFile:
      message = SetAside(u"is no regular file");
      return {};
    case SharedFileState::kTooLarge:
      message = SetAside(u"is far larger than any history this program keeps");
      return {};
    case SharedFileState::kRead: break;
  }
  HistoryContent history = ParseHistory(content.bytes);
  switch (history.kind) {
    case HistoryContent::Kind::Read: return std::move(history.entries);
    case HistoryContent::Kind::Newer:
      message = u"The rename history " + path_ + u" was written by a later version of Nomvarix; it is left as it is.";
      return {};
    case HistoryContent::Kind::Damaged: break;
  }
  message = SetAside(u"is damaged or not a rename history");
  return {};
}

bool RenameHistory::Append(const HistoryEntry& entry, std::u16string& message) {
  if (path_.empty()) return false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    bool newer = false;
    const bool written = UpdateSharedFile(
        path_,
        [&](std::string_view current) -> std::optional<std::string> {
          HistoryContent history = ParseHistory(current);
          newer = history.kind == HistoryContent::Kind::Newer;
          if (history.kind != HistoryContent::Kind::Read) return std::nullopt;
          history.entries.push_back(entry);
          return HistoryText(BoundedHistory(std::move(history.entries), bounds_));
        },
        bounds_.bytes + kSlackBytes);
    if (written) return true;
    if (newer) break;
    // Whatever stopped the write is looked at as a read does: an unusable file is set aside,
    // and the entry goes into a new one.
    std::u16string why;
    Read(why);
    if (!why.empty()) message = why;
  }
  if (message.empty()) message = u"The rename history " + path_ + u" could not be written.";
  return false;
}

std::u16string RenameHistory::SetAside(std::u16string_view why) {
  const std::u16string start = u"The rename history " + path_ + u" " + std::u16string(why);
  // The entry itself moves, a link included: whatever it points to is never touched.
  const std::optional<std::u16string> aside = nomvarix::SetAside(fileSystem_, path_);
  if (!aside) return start + u" and could not be set aside; no history is kept meanwhile.";
  return start + u". It was set aside as " + *aside + u" and a new history begun.";
}

}  // namespace nomvarix
