#include "apply/RenameBatch.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "apply/NameRules.h"
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
  /// Why the file of `entry` may not be renamed although its new name is sound: it is gone, or it
  /// is not the file listed any more. Empty when it is.
  std::u16string ChangedSinceListed(const NameEntry& entry, const std::optional<FileIdentity>& listed) const {
    const std::u16string source = folder_ + entry.originalName;
    if (!fs_.EntryExists(source)) return u" is no longer there";
    if (!fs_.IsListableFile(source)) return u" is no longer a file (now a folder, a FIFO or a device)";
    if (listed && fs_.IdentityOf(source) != listed) return u" is no longer the file listed";
    return {};
  }

  Renamer(std::u16string_view folder, FileSystem& fileSystem, bool autoRename)
      : folder_(folder), fs_(fileSystem), autoRename_(autoRename) {}

  LineOutcome Rename(const NameEntry& entry, std::u16string_view temporary) {
    const std::u16string& name = entry.newName;
    if (ApplyRefuses(name)) return kSkipped;
    const std::u16string source = folder_ + entry.originalName;
    // The rename itself refuses a taken name, so a free one costs one call and only a refused one
    // is looked into; a new spelling of the same name is looked into first.
    if (!MaySpellTheSameName(name, entry.originalName) || !Exists(name)) {
      const RenameResult direct = fs_.RenameNoReplace(source, folder_ + name);
      if (direct == RenameResult::Renamed) return {name, false};
      if (direct == RenameResult::Failed || !Exists(name)) return kSkipped;
    }
    if (fs_.IsSameFile(folder_ + name, source)) return Respell(entry, temporary);
    if (!autoRename_) return kSkipped;
    const std::u16string target = FreeNumberedName(name);
    if (fs_.RenameNoReplace(source, folder_ + target) != RenameResult::Renamed) return kSkipped;
    return {target, false};
  }

 private:
  bool Exists(std::u16string_view name) const { return fs_.EntryExists(folder_ + std::u16string(name)); }

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
    const std::u16string source = folder_ + entry.originalName;
    std::u16string temporary(reserved);
    for (int n = 1; n <= kLastTemporaryName && temporary.empty(); ++n) {
      const std::u16string candidate = TemporaryName(n);
      if (!Exists(candidate)) temporary = candidate;
    }
    if (temporary.empty() || fs_.RenameNoReplace(source, folder_ + temporary) != RenameResult::Renamed) {
      return kSkipped;
    }
    if (fs_.RenameNoReplace(folder_ + temporary, folder_ + entry.newName) == RenameResult::Renamed) {
      return {entry.newName, false};
    }
    if (fs_.RenameNoReplace(folder_ + temporary, source) == RenameResult::Renamed) return kSkipped;
    return {temporary, true};  // stuck under the temporary name: recorded, so that it can be renamed back
  }

  const std::u16string folder_;
  FileSystem& fs_;
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
    if (FoldAscii(a[i]) != FoldAscii(b[i]) && a[i] < 0x80 && b[i] < 0x80) return false;
  }
  return true;
}

std::u16string TemporaryName(int n) { return u".nomvarix-" + FromUtf8(std::to_string(n)) + u".tmp"; }

std::size_t RenameBatchResult::SkippedCount() const {
  return static_cast<std::size_t>(std::count(skipped.begin(), skipped.end(), true));
}

RenameBatchResult RenameFiles(const NameList& names, std::u16string_view folder, FileSystem& fileSystem,
                              bool autoRename, WorkProgress& progress, const RenamePlan* plan) {
  RenameBatchResult result;
  result.skipped.assign(names.size(), false);
  Renamer renamer(folder, fileSystem, autoRename);
  // The plan's steps follow the list's order: a changed line's step is the next one of its name.
  std::size_t step = 0;
  for (std::size_t i = 0; i < names.size() && progress.Advance(i, names.size()); ++i) {
    result.linesDone = i + 1;
    const NameEntry& entry = names[i];
    if (entry.newName == entry.originalName) continue;
    // The identity the listing saw, else the one the plan found.
    std::optional<FileIdentity> listed;
    if (plan && step < plan->journal.steps.size() && plan->journal.steps[step].before == entry.originalName) {
      listed = plan->journal.steps[step++].identity;
    }
    if (entry.listedIdentity.Known()) listed = entry.listedIdentity;
    if (const std::u16string reason = renamer.ChangedSinceListed(entry, listed); !reason.empty()) {
      result.skipped[i] = true;
      result.report += FromUtf8(std::to_string(i + 1)) + u": " + entry.originalName + reason + u"\n";
      continue;
    }
    const std::u16string_view temporary = plan ? std::u16string_view(plan->temporaries[i]) : std::u16string_view();
    LineOutcome outcome = renamer.Rename(entry, temporary);
    result.skipped[i] = outcome.skipped;
    if (!outcome.nameNow) continue;
    NameEntry record;
    record.originalName = std::move(*outcome.nameNow);
    record.newName = entry.originalName;
    record.lineText = entry.originalName;
    result.revertList.push_back(std::move(record));
  }
  return result;
}

}  // namespace nomvarix
