#include "apply/InterruptedRename.h"

#include <algorithm>
#include <map>

#include "apply/RenameBatch.h"
#include "platform/FileSystem.h"
#include "platform/LockedFile.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using IdentityKey = std::pair<std::uint64_t, std::uint64_t>;

IdentityKey KeyOf(const FileIdentity& identity) { return {identity.volume, identity.file}; }

std::u16string Number(std::size_t n) { return FromUtf8(std::to_string(n)); }

}  // namespace

InterruptedRename::InterruptedRename(RenameJournal journal, const FileSystem& fileSystem)
    : journal_(std::move(journal)), nameNow_(journal_.steps.size()) {
  std::map<IdentityKey, std::size_t> stepOf;
  for (std::size_t i = 0; i < journal_.steps.size(); ++i) stepOf.emplace(KeyOf(journal_.steps[i].identity), i);
  const bool listed = fileSystem.ForEachEntry(journal_.folder, [&](const DirEntry& entry) {
    if (entry.name == u"." || entry.name == u"..") return;
    const std::u16string name(entry.name);
    const std::optional<FileIdentity> identity = fileSystem.IdentityOf(journal_.folder + name);
    if (!identity) return;
    if (const auto it = stepOf.find(KeyOf(*identity)); it != stepOf.end()) nameNow_[it->second] = name;
  });
  folderGone_ = !listed && fileSystem.KindOf(journal_.folder) != PathKind::Folder;
}

std::size_t InterruptedRename::Done() const {
  std::size_t done = 0;
  for (std::size_t i = 0; i < Planned(); ++i) done += !nameNow_[i].empty() && nameNow_[i] != journal_.steps[i].before;
  return done;
}

bool InterruptedRename::Move(std::u16string_view from, std::u16string_view to, FileSystem& fileSystem) const {
  return fileSystem.RenameNoReplace(journal_.folder + std::u16string(from), journal_.folder + std::u16string(to)) ==
         RenameResult::Renamed;
}

std::optional<std::u16string> InterruptedRename::Undo(const JournalStep& step, std::u16string now,
                                                      FileSystem& fileSystem) const {
  // Back to an old spelling of the same name: through the temporary name, as on the way out.
  if (!step.temporary.empty() && now != step.temporary && MaySpellTheSameName(now, step.before)) {
    if (!Move(now, step.temporary, fileSystem)) return now;
    now = step.temporary;
  }
  if (Move(now, step.before, fileSystem)) return std::nullopt;
  // Its old name was taken meanwhile; even so it must not stay under a temporary name.
  if (now == step.temporary && Move(now, step.after, fileSystem)) return step.after;
  return now;
}

std::optional<std::u16string> InterruptedRename::Keep(const JournalStep& step, const std::u16string& now,
                                                      FileSystem& fileSystem) const {
  if (now != step.temporary || Move(now, step.after, fileSystem) || Move(now, step.before, fileSystem)) {
    return std::nullopt;
  }
  return now;
}

std::vector<std::u16string> InterruptedRename::Settle(RecoveryChoice choice, FileSystem& fileSystem) const {
  std::vector<std::u16string> unplaced;
  if (folderGone_) return unplaced;
  // Backwards: a later step may have taken the name an earlier one left.
  for (std::size_t i = Planned(); i-- > 0;) {
    const JournalStep& step = journal_.steps[i];
    const std::u16string& now = nameNow_[i];
    if (now.empty() || now == step.before) continue;
    const std::optional<std::u16string> left =
        choice == RecoveryChoice::Undo ? Undo(step, now, fileSystem) : Keep(step, now, fileSystem);
    if (left) unplaced.push_back(*left);
  }
  std::reverse(unplaced.begin(), unplaced.end());
  return unplaced;
}

std::u16string InterruptedRename::Question() const {
  return u"An earlier rename in " + journal_.folder + u" was interrupted after " + Number(Done()) + u" of " +
         Number(Planned()) + u" files.";
}

std::vector<LeftJournal> TakeOverLeftJournals(const FileSystem& fileSystem, std::u16string_view stateFolder) {
  std::vector<LeftJournal> left;
  if (stateFolder.empty()) return left;
  for (const std::u16string& path : JournalPaths(fileSystem, stateFolder)) {
    std::unique_ptr<LockedFile> file = TakeOverLockedFile(path);
    if (!file) continue;
    std::optional<RenameJournal> journal = ParseJournal(file->Content());
    if (!journal) continue;
    left.push_back({std::move(file), InterruptedRename(std::move(*journal), fileSystem)});
  }
  return left;
}

std::u16string UnplacedFilesMessage(RecoveryChoice choice, const std::vector<std::u16string>& names) {
  if (names.empty()) return {};
  std::u16string text = choice == RecoveryChoice::Undo
                            ? u"These files keep their new names, because other files have their old names now:"
                            : u"These files could not leave their temporary names:";
  constexpr std::size_t kListed = 20;
  for (std::size_t i = 0; i < names.size() && i < kListed; ++i) text += u"\n" + names[i];
  if (names.size() > kListed) text += u"\n(and " + Number(names.size() - kListed) + u" more)";
  return text;
}

std::u16string FolderGoneMessage(std::u16string_view folder) {
  return u"An interrupted rename in " + std::u16string(folder) + u" was dropped: the folder no longer exists.";
}

}  // namespace nomvarix
