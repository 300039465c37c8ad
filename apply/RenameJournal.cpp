#include "apply/RenameJournal.h"

#include <cstdio>
#include <random>

#include <nlohmann/json.hpp>

#include "apply/NameJson.h"
#include "apply/RenameBatch.h"
#include "platform/LockedFile.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kFormat = "nomvarix-rename-journal";
/// Version 2 added each file's attributes; version 1 journals are still read, without them.
constexpr int kVersion = 2;
constexpr int kOldestVersion = 1;
constexpr std::u16string_view kExtension = u".journal";

template <typename Number>
std::optional<Number> OptionalNumber(const Json& step, const char* key) {
  const auto it = step.find(key);
  if (it == step.end() || !it->is_number_integer()) return std::nullopt;
  return it->get<Number>();
}

std::optional<JournalStep> StepOf(const Json& value) {
  if (!value.is_object()) return std::nullopt;
  const auto volume = value.find("volume");
  const auto file = value.find("file");
  const auto before = value.find("before");
  const auto after = value.find("after");
  if (volume == value.end() || file == value.end() || before == value.end() || after == value.end() ||
      !volume->is_number_unsigned() || !file->is_number_unsigned()) {
    return std::nullopt;
  }
  JournalStep step;
  step.identity = {volume->get<std::uint64_t>(), file->get<std::uint64_t>()};
  const auto beforeName = FileNameOf(*before);
  const auto afterName = FileNameOf(*after);
  if (!beforeName || !afterName) return std::nullopt;
  step.before = *beforeName;
  step.after = *afterName;
  if (const auto temporary = value.find("temporary"); temporary != value.end()) {
    const auto temporaryName = FileNameOf(*temporary);
    if (!temporaryName) return std::nullopt;
    step.temporary = *temporaryName;
  }
  if (const auto size = value.find("size"); size != value.end() && size->is_number_unsigned()) {
    step.attributes.size = size->get<std::uint64_t>();
  }
  step.attributes.modified = OptionalNumber<std::int64_t>(value, "modified");
  step.attributes.created = OptionalNumber<std::int64_t>(value, "created");
  return step;
}

/// A free temporary name that no other step has taken, from `next` on; empty when none is left.
std::u16string ReserveTemporary(const FileSystem& fileSystem, std::u16string_view folder, int& next) {
  for (; next <= kLastTemporaryName; ++next) {
    std::u16string candidate = TemporaryName(next);
    if (!fileSystem.EntryExists(std::u16string(folder) + candidate)) {
      ++next;
      return candidate;
    }
  }
  return {};
}

}  // namespace

RenamePlan PlanRenames(const NameList& names, std::u16string_view folder, const FileSystem& fileSystem) {
  RenamePlan plan;
  plan.journal.folder = folder;
  plan.temporaries.resize(names.size());
  plan.stepOfLine.assign(names.size(), kNoLine);
  plan.order = OrderRenames(names, folder, fileSystem);
  int nextTemporary = 1;
  for (const RenameStep& order : plan.order.steps) {
    const std::uint32_t line = order.line;
    const NameEntry& entry = names[line];
    // A parked line's second step moves it on from its temporary name: the journal has it already.
    if (plan.stepOfLine[line] != kNoLine || entry.newName.empty()) continue;
    const std::optional<FileStamp> stamp = fileSystem.StampOf(std::u16string(folder) + entry.originalName);
    // Another file put in the listed one's place is not renamed: nothing to journal.
    if (!stamp || (entry.listedIdentity.Known() && stamp->identity != entry.listedIdentity)) continue;
    if (order.parks || MaySpellTheSameName(entry.newName, entry.originalName)) {
      plan.temporaries[line] = ReserveTemporary(fileSystem, folder, nextTemporary);
    }
    plan.stepOfLine[line] = static_cast<std::uint32_t>(plan.journal.steps.size());
    plan.journal.steps.push_back(
        {stamp->identity, entry.originalName, entry.newName, plan.temporaries[line], stamp->attributes});
  }
  return plan;
}

std::string JournalText(const RenameJournal& journal) {
  Json steps = Json::array();
  for (const JournalStep& step : journal.steps) {
    Json value = {{"volume", step.identity.volume},
                  {"file", step.identity.file},
                  {"before", NameJson(step.before)},
                  {"after", NameJson(step.after)}};
    if (!step.temporary.empty()) value["temporary"] = NameJson(step.temporary);
    if (step.attributes.size) value["size"] = *step.attributes.size;
    if (step.attributes.modified) value["modified"] = *step.attributes.modified;
    if (step.attributes.created) value["created"] = *step.attributes.created;
    steps.push_back(std::move(value));
  }
  const Json text = {{"format", kFormat}, {"version", kVersion}, {"folder", NameJson(journal.folder)}, {"steps", steps}};
  return text.dump(1) + "\n";
}

std::optional<RenameJournal> ParseJournal(std::string_view text) {
  const Json value = Json::parse(text, nullptr, false);
  if (!value.is_object()) return std::nullopt;
  const auto format = value.find("format");
  const auto version = value.find("version");
  if (format == value.end() || *format != std::string(kFormat) || version == value.end() || !version->is_number_integer() ||
      *version < kOldestVersion || *version > kVersion) {
    return std::nullopt;
  }
  RenameJournal journal;
  const auto folder = value.find("folder");
  const auto steps = value.find("steps");
  if (folder == value.end() || steps == value.end() || !steps->is_array()) return std::nullopt;
  const auto folderName = NameOf(*folder);
  if (!folderName || folderName->empty()) return std::nullopt;
  journal.folder = *folderName;
  for (const Json& stepValue : *steps) {
    std::optional<JournalStep> step = StepOf(stepValue);
    if (!step) return std::nullopt;
    journal.steps.push_back(std::move(*step));
  }
  return journal;
}

std::u16string NewJournalPath(std::u16string_view stateFolder) {
  std::random_device random;
  char name[40];
  std::snprintf(name, sizeof name, "rename-%08x%08x", random(), random());
  return std::u16string(stateFolder) + FromUtf8(name) + std::u16string(kExtension);
}

std::unique_ptr<LockedFile> WriteJournal(const RenameJournal& journal, std::u16string_view stateFolder) {
  return CreateLockedFile(NewJournalPath(stateFolder), JournalText(journal));
}

std::unique_ptr<LockedFile> WriteJournal(const RenameJournal& journal, std::u16string_view stateFolder,
                                         std::u16string& why) {
  return CreateLockedFile(NewJournalPath(stateFolder), JournalText(journal), why);
}

std::u16string UnprotectedApplyQuestion(std::u16string_view why) {
  return u"Crash protection is unavailable: " + std::u16string(why) +
         u". Should the program stop half way, it could not set right what it had renamed.\n\nApply anyway?";
}

std::vector<std::u16string> JournalPaths(const FileSystem& fileSystem, std::u16string_view stateFolder) {
  std::vector<std::u16string> paths;
  fileSystem.ForEachEntry(stateFolder, [&](const DirEntry& entry) {
    if (!entry.isFolder && entry.name.starts_with(u"rename-") && entry.name.ends_with(kExtension)) {
      paths.push_back(std::u16string(stateFolder) + std::u16string(entry.name));
    }
  });
  return paths;
}

}  // namespace nomvarix
