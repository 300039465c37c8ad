#include "apply/Validation.h"

#include <optional>
#include <unordered_map>

#include "apply/ListedNames.h"
#include "apply/NameRules.h"
#include "apply/RenameBatch.h"
#include "editor/NameEditor.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "text/AsciiCase.h"
#include "text/FoldedHash.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr std::size_t kMaxNameLength = 255;
constexpr std::size_t kShownReportLength = 200;

class Checker {
 public:
  Checker(NameEditor& editor, const FileSystem& fileSystem)
      : editor_(editor), fileSystem_(fileSystem), folder_(WithTrailingSeparator(editor.CurrentFolder())) {}

  std::vector<ValidationProblem> Run() {
    for (std::size_t line = 0; line < editor_.LineCount(); ++line) editor_.SetErrorMark(line, false);
    for (std::size_t line = 0; line < editor_.LineCount(); ++line) {
      const NameEntry& entry = editor_.Names()[line];
      if (entry.newName != entry.originalName) Check(line, entry);
    }
    return std::move(problems_);
  }

 private:
  void Check(std::size_t line, const NameEntry& entry) {
    const std::u16string& name = entry.newName;
    const std::vector<NameFinding> findings = NameFaults(name);
    // The duplicate comes after the faults of the name's start and before those of its characters.
    auto finding = findings.begin();
    for (; finding != findings.end() && finding->fault <= NameFault::StartsWithSpace; ++finding) {
      Report(line, FindingMessage(*finding));
    }
    const auto [first, inserted] = firstLineOf_.emplace(name, line);
    if (!inserted) {
      editor_.SetErrorMark(first->second, true);
      Report(line, u"Duplicate filename detected");
    }
    for (; finding != findings.end(); ++finding) Report(line, FindingMessage(*finding));
    if (fileSystem_.NameLength(name) > kMaxNameLength) Report(line, std::u16string(TooLongMessage()));
    if (ExistsAsAnotherFile(line, entry)) Report(line, u"File already exists on disk");
  }

  /// Says what the limit counts: bytes where the file system counts the name's UTF-8 bytes.
  std::u16string_view TooLongMessage() const {
    const bool countsBytes = fileSystem_.NameLength(u"\u00E9") == 2;
    return countsBytes ? u"Filename too long (longer than 255 bytes)" : u"Filename too long (> 255 characters)";
  }

  /// Whether a listed entry other than the line's own file holds its new name and keeps it through
  /// the apply. The names are those of the listing, not asked of the disk one by one: a name taken
  /// since is left to the apply, which never renames onto a taken name.
  bool ExistsAsAnotherFile(std::size_t line, const NameEntry& entry) {
    if (entry.newName.empty()) return true;  // the folder itself
    if (!listed_) listed_.emplace(editor_.Names(), editor_.Keys(), editor_.Unlisted());
    for (const ListedNames::Holder& holder : listed_->Spellings(entry.newName, editor_.Keys()[line].newNameHash)) {
      // Another spelling is the same name only where the file system ignores case, and the file
      // itself under its new spelling is no conflict.
      if (holder.name != entry.newName && (holder.line == line || !IgnoresCase(entry.newName, holder.name))) continue;
      // A file that this batch renames away frees its name: a link of a chain, not a conflict.
      if (holder.line == kNoLine || !RenamedAway(holder.line)) return true;
    }
    return false;
  }

  /// As NamesRenamedAway::RenamedAway, with the case rule of IgnoresCase.
  bool RenamedAway(std::size_t line) {
    const NameEntry& entry = editor_.Names()[line];
    if (entry.newName == entry.originalName || ApplyRefuses(entry.newName)) return false;
    return !MaySpellTheSameName(entry.newName, entry.originalName) || !IgnoresCase(entry.newName, entry.originalName);
  }

  /// Whether the file system finds the listed name `listed` under the other spelling `spelling`.
  /// For spellings that differ only in A..Z that is the folder's rule, asked of the disk once.
  bool IgnoresCase(std::u16string_view spelling, std::u16string_view listed) {
    const auto ask = [&] {
      return fileSystem_.IsSameFile(folder_ + std::u16string(spelling), folder_ + std::u16string(listed));
    };
    if (!EqualsFolded(spelling, listed)) return ask();
    if (!ignoresAsciiCase_) ignoresAsciiCase_ = ask();
    return *ignoresAsciiCase_;
  }

  void Report(std::size_t line, std::u16string message) {
    editor_.SetErrorMark(line, true);
    problems_.push_back({line, editor_.Names()[line].newName, std::move(message)});
  }

  NameEditor& editor_;
  const FileSystem& fileSystem_;
  const std::u16string folder_;
  /// Names compared with A..Z folded, without a folded copy of each.
  struct FoldedNameHash {
    std::size_t operator()(std::u16string_view name) const { return static_cast<std::size_t>(FoldedHash(name)); }
  };
  struct FoldedNameEqual {
    bool operator()(std::u16string_view a, std::u16string_view b) const { return EqualsFolded(a, b); }
  };
  std::unordered_map<std::u16string_view, std::size_t, FoldedNameHash, FoldedNameEqual> firstLineOf_;
  std::optional<ListedNames> listed_;
  std::optional<bool> ignoresAsciiCase_;
  std::vector<ValidationProblem> problems_;
};

}  // namespace

std::vector<ValidationProblem> FindProblems(NameEditor& editor, const FileSystem& fileSystem) {
  if (editor.CurrentFolder().empty()) return {};
  return Checker(editor, fileSystem).Run();
}

bool ValidateChanges(NameEditor& editor, const FileSystem& fileSystem, std::u16string& report) {
  if (editor.CurrentFolder().empty()) return false;
  report.clear();
  const std::vector<ValidationProblem> problems = FindProblems(editor, fileSystem);
  for (const ValidationProblem& problem : problems) {
    report += FromUtf8(std::to_string(problem.line + 1));
    report += u": ";
    report += problem.message;
    report += u'\n';
  }
  return !problems.empty();
}

std::u16string ShortenedReport(std::u16string_view report) {
  if (report.size() <= kShownReportLength) return std::u16string(report);
  return std::u16string(report.substr(0, kShownReportLength)) + u"\n...";
}

}  // namespace nomvarix
