#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "apply/RenameHistory.h"
#include "apply/RenameJournal.h"

namespace nomvarix {

class FileSystem;
class LockedFile;

/// What to do with the renames an interrupted apply had done.
enum class RecoveryChoice { Undo, Keep };

/// What settling an interrupted apply did not do.
struct SettleReport {
  /// Files that could not be put where the choice wanted them, under their names now.
  std::vector<std::u16string> unplaced;
  /// Files that were left where they are because, looked at again just before the move, they were
  /// no longer the file the journal was about.
  std::vector<std::u16string> changed;
  /// Every planned file found that has another name than before the apply once settled, in the
  /// order of the plan: what the rename history records of the recovery.
  std::vector<HistoryFile> renamed{};
};

/// An apply that did not finish, as the disk shows it. A planned file is looked for only under the
/// names the apply could have left it with (its name before, its new name, its temporary name, a
/// numbered form of its new name), and accepted only when it is that file for certain:
///  - where the file system keeps identities for good, its identity must be the journal's and its
///    attributes must not differ;
///  - where identities are made up per mount, its size and modification time (and birth time where
///    both sides have one) must be the journal's; a journal without attributes gives no certainty
///    there, so nothing of it is moved.
/// A name two planned files could both be under, or a file found under two names (hard links),
/// is left alone. What happened is read from the folder, never from the journal's hopes.
class InterruptedRename {
 public:
  /// Looks at the folder of `journal`.
  InterruptedRename(RenameJournal journal, const FileSystem& fileSystem);

  const std::u16string& Folder() const { return journal_.folder; }
  /// The folder could not be listed (gone, unmounted, unreadable): nothing is known yet, and the
  /// journal is worth keeping until it can be.
  bool FolderUnreadable() const { return folderUnreadable_; }
  /// How many planned files were found renamed.
  std::size_t Done() const;
  /// How many planned files may be there but cannot be told from other files for certain; they are
  /// never moved.
  std::size_t Unsure() const { return unsure_; }
  std::size_t Planned() const { return journal_.steps.size(); }
  /// Whether the user has something to decide: a renamed file, or one that may be.
  bool AnythingToDecide() const { return Done() > 0 || Unsure() > 0; }

  /// Undo: every renamed file goes back to its name before, in the reverse order of the plan,
  /// never replacing a file; a renamed file that opened a cycle is parked under its temporary name
  /// first, so that its cycle can be undone. Keep: renamed files stay, and a file left at its
  /// temporary name takes its new name (the files of its cycle not renamed yet take theirs first,
  /// to free it), or its old one when that is taken. Each file is looked at again right before it
  /// is moved, and left where it is unless it is still the file the journal was about.
  SettleReport Settle(RecoveryChoice choice, FileSystem& fileSystem) const;
  /// The first of `names` under which the file of `step` is found now; empty when none.
  std::u16string NameAfterMove(const JournalStep& step, std::initializer_list<std::u16string_view> names,
                               const FileSystem& fileSystem) const;

  /// "An earlier rename in <folder> was interrupted after N of M files. ... Undo ...?"
  std::u16string Question() const;

 private:
  /// Each puts one renamed file, now at `now`, where the choice wants it; the name it is left under
  /// when it could not, and whether it was left because it changed.
  struct Left {
    std::u16string name;
    bool changed = false;
  };
  std::optional<Left> Undo(const JournalStep& step, std::u16string now, FileSystem& fileSystem) const;
  std::optional<Left> Keep(const JournalStep& step, const std::u16string& now, FileSystem& fileSystem) const;
  void ParkRenamedCycleOpeners(std::vector<std::u16string>& nameNow, FileSystem& fileSystem) const;
  void MakeRoomForParkedFiles(std::vector<std::u16string>& nameNow, FileSystem& fileSystem) const;
  enum class MoveResult { Moved, NotMoved, Changed };
  MoveResult Move(const JournalStep& step, std::u16string_view from, std::u16string_view to,
                  FileSystem& fileSystem) const;
  /// Whether the file as seen now is the one `step` planned to rename.
  bool IsTheFile(const JournalStep& step, const FileStamp& stamp) const;
  /// Whether a file that is not certainly the step's may still be it.
  bool MayBeTheFile(const JournalStep& step, const FileStamp& stamp) const;
  /// Each of `names` (the folder's files) that a step could have left, with the steps that could
  /// have left it.
  using Candidates = std::unordered_map<std::u16string, std::vector<std::size_t>>;
  Candidates CandidatesAmong(const std::vector<std::u16string>& names) const;
  void FindFiles(const std::vector<std::u16string>& names, const FileSystem& fileSystem);

  RenameJournal journal_;
  IdentityPermanence permanence_ = IdentityPermanence::Lasting;
  bool folderUnreadable_ = false;
  std::size_t unsure_ = 0;
  /// Per step: the name its file has now; empty when it was not found for certain.
  std::vector<std::u16string> nameNow_;
};

/// A journal left by a run that ended half way, taken over by this one: it stays locked until the
/// file is removed and this is destroyed.
struct LeftJournal {
  std::unique_ptr<LockedFile> file;
  InterruptedRename rename;
};

/// The journals in `stateFolder` that no running program holds and that need the user, each taken
/// over: one whose folder cannot be listed, or one with a renamed file. On the way, journals with
/// nothing renamed are removed, as are journals a killed program was still writing (no file was
/// renamed before a journal was complete). One that this program cannot read (a later version's,
/// or one with names reaching outside its folder) is left as it is.
std::vector<LeftJournal> TakeOverLeftJournals(const FileSystem& fileSystem, std::u16string_view stateFolder);

/// Sets aside each journal in `stateFolder` that cannot be one: an entry that is no regular file (a
/// pipe, a device, a link to one) or a file larger than any list of names could need. Each is
/// renamed to "<name>.bad" beside it, never read, so that no later start meets it again. Returns
/// the message saying what was set aside (or could not be); empty when there was nothing.
std::u16string SetAsideUnusableJournals(FileSystem& fileSystem, std::u16string_view stateFolder);

/// The message for what Settle did not do, listing the files; empty when it did everything.
std::u16string SettleMessage(RecoveryChoice choice, const SettleReport& report);

/// The question for a journal whose folder cannot be listed, asked at each start until the folder
/// can be listed or the user drops the journal.
std::u16string FolderUnreadableQuestion(std::u16string_view folder);

}  // namespace nomvarix
