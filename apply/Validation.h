#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

class FileSystem;
class NameEditor;

/// Shown by "Validate Changes" when the check finds nothing.
inline constexpr std::u16string_view kNoErrorsFound = u"No conflicting errors found.";

/// One problem found by validating: its line (from 0), the line's new name, and what is wrong with
/// it ("Duplicate filename detected").
struct ValidationProblem {
  std::size_t line = 0;
  std::u16string newName;
  std::u16string message;

  bool operator==(const ValidationProblem&) const = default;
};

/// Checks every changed line's new name, in list order: empty, leading period, leading white
/// space, duplicate of an earlier changed line's new name (ASCII letters folded), each invalid
/// character once (\ / : * ? " < > |), each control character once (NUL among them: the rules
/// of NameRules.h, which applying keeps too), longer than the file system allows (255 of its units), and
/// a file, folder or symbolic link of that name in the folder's last listing, the lines' files and
/// the entries that are no line alike (not the file itself spelt otherwise, which a case-insensitive
/// file system finds, and not the file of another changed line that the batch renames away: a chain
/// or a cycle, NamesRenamedAway). Names are compared with A..Z folded where the folder ignores case,
/// which is asked of the disk once, not once per name; a name taken since the listing is found by the
/// apply, which never renames onto a taken name.
/// Each finding appends "<line number>: <message>\n" to `report` (emptied first) and sets the
/// line's error mark; every other mark is cleared. Returns whether anything was found. With no
/// folder loaded nothing is checked and the result is false.
bool ValidateChanges(NameEditor& editor, const FileSystem& fileSystem, std::u16string& report);
/// The same check, every problem found as one entry, in the order of the report.
std::vector<ValidationProblem> FindProblems(NameEditor& editor, const FileSystem& fileSystem);

/// The report as the message box shows it: at most 200 characters, then "\n..." when it was cut.
std::u16string ShortenedReport(std::u16string_view report);

}  // namespace nomvarix
