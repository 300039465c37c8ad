#include "apply/RenameBatch.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "apply/NameRules.h"
#include "apply/RenameOrder.h"
#include "editor/NameSplit.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "text/AsciiCase.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr int kLastSuffix = 99999;

std::u16string Numbered(std::u16string_view name, int n) {
  const SplitName split = SplitAtLastDot(name);
  char digits[16];
  std::snprintf(digits, sizeof digits, "_%05d", n);
  return std::u16string(split.base) + FromUtf8(digits) + std::u16string(split.dotExt);
}

}  // namespace

std::optional<std::u16string> NameBeforeNumbering(std::u16string_view numbered) {
  const SplitName split = SplitAtLastDot(numbered);
  constexpr std::size_t kDigits = 5;
  const std::u16string_view base = split.base;
  if (base.size() < kDigits + 1 || base[base.size() - kDigits - 1] != u'_') return std::nullopt;
  const std::u16string_view digits = base.substr(base.size() - kDigits);
  if (!std::all_of(digits.begin(), digits.end(), IsAsciiDigit) ||
      digits == u"00000") {
    return std::nullopt;
  }
  return std::u16string(base.substr(0, base.size() - kDigits - 1)) + std::u16string(split.dotExt);
}

namespace {

/// What became of one line's file: the name it has now when it was renamed (empty when it was not),
/// and whether the line counts as skipped.
struct LineOutcome {
  std::optional<std::u16string> nameNow;
  bool skipped = false;
};

const LineOutcome kSkipped{std::nullopt, true};

class Renamer {
 public:
  Renamer(std::u16string_view folder, FileSystem& fileSystem, bool autoRename)
      : files_(fileSystem.OpenFolder(folder)), autoRename_(autoRename) {}

  /// Why the file of `entry` may not be renamed although its new name is sound: it is gone, or it
  /// is not the file listed any more. Empty when it is.
  std::u16string ChangedSinceListed(const NameEntry& entry, const std::optional<FileIdentity>& listed) const {
    const std::u16string& source = entry.originalName;
    // The usual case is one query: the file listed is still there, under its name.
    if (listed) {
      if (const std::optional<FileIdentity> now = files_->IdentityOfListableFile(source)) {
        return *now == *listed ? u"" : u" is no longer the file listed";
      }
    } else if (files_->IsListableFile(source)) {
      return {};
    }
    return files_->EntryExists(source) ? u" is no longer a file (now a folder, a FIFO or a device)" : u" is no longer there";
  }

  /// The temporary name reserved for a line, or the first free one.
  std::u16string TemporaryFor(std::u16string_view reserved) const {
    for (int n = 1; n <= kLastTemporaryName && reserved.empty(); ++n) {
      if (std::u16string candidate = TemporaryName(n); !Exists(candidate)) return candidate;
    }
    return std::u16string(reserved);
  }

  bool Park(const NameEntry& entry, const std::u16string& temporary) {
    return !temporary.empty() && files_->RenameNoReplace(entry.originalName, temporary) == RenameResult::Renamed;
  }

  /// Takes a parked file on to its new name; when that is taken, back to its old name, and when
  /// that is taken too, to a numbered form of its new name. The name it has now; the temporary
  /// name only when every one of them was taken.
  std::u16string Unpark(const NameEntry& entry, const std::u16string& temporary) {
    for (const std::u16string* name : {&entry.newName, &entry.originalName}) {
      if (files_->RenameNoReplace(temporary, *name) == RenameResult::Renamed) return *name;
    }
    const std::u16string numbered = FreeNumberedName(entry.newName);
    if (files_->RenameNoReplace(temporary, numbered) == RenameResult::Renamed) return numbered;
    return temporary;
  }

  LineOutcome Rename(const NameEntry& entry, std::u16string_view temporary) {
    const std::u16string& name = entry.newName;
    if (ApplyRefuses(name)) return kSkipped;
    const std::u16string& source = entry.originalName;
    // The rename itself refuses a taken name, so a free one costs one call and only a refused one
    // is looked into; a new spelling of the same name is looked into first.
    if (!MaySpellTheSameName(name, source) || !Exists(name)) {
      const RenameResult direct = files_->RenameNoReplace(source, name);
      if (direct == RenameResult::Renamed) return {name, false};
      if (direct == RenameResult::Failed || !Exists(name)) return kSkipped;
    }
    if (files_->IsSameFile(name, source)) return Respell(entry, temporary);
    if (!autoRename_) return kSkipped;
    const std::u16string target = FreeNumberedName(name);
    if (files_->RenameNoReplace(source, target) != RenameResult::Renamed) return kSkipped;
    return {target, false};
  }

 private:
  bool Exists(std::u16string_view name) const { return files_->EntryExists(name); }

  /// The first free numbered form of `name`, or the last one tried.
  std::u16string FreeNumberedName(std::u16string_view name) const {
    std::u16string candidate;
    for (int n = 1; n <= kLastSuffix; ++n) {
      candidate = Numbered(name, n);
      if (!Exists(candidate)) break;
    }
    return candidate;
  }

  /// A new spelling of the same file: renamed through a free temporary name, since a direct move
  /// onto itself does nothing on some systems. When the second step fails the file goes back.
  LineOutcome Respell(const NameEntry& entry, std::u16string_view reserved) {
    const std::u16string& source = entry.originalName;
    const std::u16string temporary = TemporaryFor(reserved);
    if (temporary.empty() || files_->RenameNoReplace(source, temporary) != RenameResult::Renamed) {
      return kSkipped;
    }
    if (files_->RenameNoReplace(temporary, entry.newName) == RenameResult::Renamed) return {entry.newName, false};
    if (files_->RenameNoReplace(temporary, source) == RenameResult::Renamed) return kSkipped;
    return {temporary, true};  // stuck under the temporary name: recorded, so that it can be renamed back
  }

  const std::unique_ptr<FolderFiles> files_;
  const bool autoRename_;
};

}  // namespace

bool LeavesTheFolder(std::u16string_view name) {
  return name == u"." || name == u".." || name.find(u'\0') != std::u16string_view::npos ||
         std::any_of(name.begin(), name.end(), IsPathSeparator);
}

bool MaySpellTheSameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    if (FoldAscii(a[i]) != FoldAscii(b[i]) && a[i] < 0x80 && b[i] < 0x80) return false;
  }
  return true;
}

std::u16string TemporaryName(int n) { return u".nomvarix-" + FromUtf8(std::to_string(n)) + u".tmp"; }

std::size_t RenameBatchResult::SkippedCount() const {
  return static_cast<std::size_t>(std::count(skipped.begin(), skipped.end(), true));
}

namespace {

/// One apply: the steps of its order, each line's fate, and what the result records.
class BatchRun {
 public:
  BatchRun(const NameList& names, std::u16string_view folder, FileSystem& fileSystem, bool autoRename,
           const RenamePlan* plan)
      : names_(names),
        renamer_(folder, fileSystem, autoRename),
        plan_(plan),
        ownOrder_(plan ? RenameOrder() : OrderRenames(names, folder, fileSystem)),
        order_(plan ? plan->order : ownOrder_),
        fate_(names.size(), Fate::Waiting),
        temporaries_(names.size()) {
    result_.skipped.assign(names.size(), false);
    result_.unreached.assign(names.size(), false);
    result_.revertList.reserve(order_.steps.size());
  }

  RenameBatchResult Run(WorkProgress& progress) {
    std::size_t parked = 0;
    for (std::size_t at = 0; at < order_.steps.size(); ++at) {
      // A parked file is never left behind: a cancel waits until its cycle is closed.
      if (parked == 0 && !progress.Advance(at, order_.steps.size())) break;
      const RenameStep step = order_.steps[at];
      if (step.parks) {
        parked += Park(step.line);
      } else if (fate_[step.line] == Fate::Parked) {
        Unpark(step.line);
        --parked;
      } else {
        RenameLine(step.line);
      }
    }
    result_.linesDone = names_.size();
    for (std::size_t line = names_.size(); line-- > 0;) {
      if (fate_[line] != Fate::Waiting || !IsChanged(line)) continue;
      result_.unreached[line] = true;
      result_.linesDone = line;
    }
    return std::move(result_);
  }

 private:
  /// What became of a line's file so far.
  enum class Fate { Waiting, Parked, Renamed, Numbered, Stayed };

  bool IsChanged(std::size_t line) const { return names_[line].newName != names_[line].originalName; }

  std::u16string LineNumber(std::size_t line) const { return FromUtf8(std::to_string(line + 1)); }

  /// Why the line's file may not be renamed although its new name is sound; empty when it may.
  std::u16string ChangedSinceListed(std::uint32_t line) const {
    std::optional<FileIdentity> listed;
    if (plan_ && plan_->stepOfLine[line] != kNoLine) listed = plan_->journal.steps[plan_->stepOfLine[line]].identity;
    if (names_[line].listedIdentity.Known()) listed = names_[line].listedIdentity;
    return renamer_.ChangedSinceListed(names_[line], listed);
  }

  /// False, with the line skipped and the report told why, when the file changed since listed.
  bool StillListed(std::uint32_t line) {
    const std::u16string reason = ChangedSinceListed(line);
    if (reason.empty()) return true;
    Stay(line);
    result_.report += LineNumber(line) + u": " + names_[line].originalName + reason + u"\n";
    return false;
  }

  void Stay(std::uint32_t line) {
    fate_[line] = Fate::Stayed;
    result_.skipped[line] = true;
  }

  void Record(std::uint32_t line, std::u16string nameNow) {
    NameEntry record;
    record.originalName = std::move(nameNow);
    record.newName = names_[line].originalName;
    record.lineText = names_[line].originalName;
    result_.revertList.push_back(std::move(record));
  }

  std::u16string ReservedTemporary(std::uint32_t line) const {
    return plan_ ? plan_->temporaries[line] : std::u16string();
  }

  bool Park(std::uint32_t line) {
    if (!StillListed(line)) return false;
    // With a journal, only a temporary name it records may be used.
    temporaries_[line] = plan_ ? ReservedTemporary(line) : renamer_.TemporaryFor({});
    if (!renamer_.Park(names_[line], temporaries_[line])) {
      Stay(line);
      return false;
    }
    fate_[line] = Fate::Parked;
    return true;
  }

  void Unpark(std::uint32_t line) {
    const NameEntry& entry = names_[line];
    std::u16string nameNow = renamer_.Unpark(entry, temporaries_[line]);
    if (nameNow == entry.originalName) {
      Stay(line);
      return;
    }
    fate_[line] = nameNow == entry.newName ? Fate::Renamed : Fate::Numbered;
    if (nameNow != entry.newName) {
      result_.skipped[line] = nameNow == temporaries_[line];
      result_.report += LineNumber(line) + u": " + entry.originalName + u" is now " + nameNow +
                        u": its old and its new name were taken meanwhile\n";
    }
    Record(line, std::move(nameNow));
  }

  void RenameLine(std::uint32_t line) {
    const NameEntry& entry = names_[line];
    const std::uint32_t holder = order_.waitsFor[line];
    if (holder != kNoLine && fate_[holder] != Fate::Renamed && fate_[holder] != Fate::Parked) {
      // The file holding its new name stays: the rest of this chain is not applied.
      Stay(line);
      result_.report += LineNumber(line) + u": " + entry.originalName + u" was not renamed, since " + entry.newName +
                        u" was not freed\n";
      return;
    }
    if (!StillListed(line)) return;
    LineOutcome outcome = renamer_.Rename(entry, ReservedTemporary(line));
    if (!outcome.nameNow) {
      Stay(line);
      return;
    }
    result_.skipped[line] = outcome.skipped;
    fate_[line] = outcome.skipped || *outcome.nameNow != entry.newName ? Fate::Numbered : Fate::Renamed;
    Record(line, std::move(*outcome.nameNow));
  }

  const NameList& names_;
  Renamer renamer_;
  const RenamePlan* plan_;
  const RenameOrder ownOrder_;
  const RenameOrder& order_;
  std::vector<Fate> fate_;
  std::vector<std::u16string> temporaries_;
  RenameBatchResult result_;
};

}  // namespace

RenameBatchResult RenameFiles(const NameList& names, std::u16string_view folder, FileSystem& fileSystem,
                              bool autoRename, WorkProgress& progress, const RenamePlan* plan) {
  return BatchRun(names, folder, fileSystem, autoRename, plan).Run(progress);
}

}  // namespace nomvarix
