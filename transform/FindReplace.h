#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/TextPos.h"
#include "editor/WorkProgress.h"
#include "transform/RegexMatch.h"

namespace nomvarix {

class NameEditor;

struct SearchOptions {
  bool matchCase = false;  ///< without it ASCII letters match either case
  /// The match must not touch a letter or digit on either side; for a regular expression, it must
  /// start and end at a word boundary (\b: a letter, digit or underscore on one side only).
  bool wholeWord = false;
  /// The text is a regular expression matched on each line, and the replacement may name its
  /// groups, as RegexReplacement says.
  bool regex = false;

  bool operator==(const SearchOptions&) const = default;
};

/// What searching remembers between searches: the last text and options, and where the next
/// search starts: one column after findStart. That is the start of the last plain-text match (so
/// overlapping matches are found too), the last unit of the last regular-expression match or the
/// place of an empty one, and it moves with replacements and mouse selections.
struct SearchMemory {
  std::u16string lastText;
  bool lastMatchCase = false;
  bool lastWholeWord = false;
  bool lastRegex = false;
  TextPos findStart{0, 0};

  SearchOptions LastOptions() const { return {lastMatchCase, lastWholeWord, lastRegex}; }
  void SetLastOptions(SearchOptions options) {
    lastMatchCase = options.matchCase;
    lastWholeWord = options.wholeWord;
    lastRegex = options.regex;
  }
};

/// A line a search could not search to its end (0-based), and why.
struct UnsearchedLine {
  std::int32_t line = 0;
  RegexFailure why = RegexFailure::Failed;

  bool operator==(const UnsearchedLine&) const = default;
};

/// What Find Next and Replace did. Lines where the pattern hit a limit are passed over and
/// listed; true when a match was found (and selected, or replaced).
struct SearchOutcome {
  bool found = false;
  bool cancelled = false;  ///< stopped through the progress: nothing was selected or changed
  std::vector<UnsearchedLine> unsearched = {};

  explicit operator bool() const { return found; }
};

/// What Replace All did. A cancelled Replace All changes nothing at all: every line stays as it
/// was, and no undo step is taken.
struct ReplaceAllOutcome {
  std::size_t count = 0;   ///< the occurrences replaced
  bool cancelled = false;
  std::vector<UnsearchedLine> unsearched = {};  ///< left as they were
};

/// "Cannot find \"<text>\"".
std::u16string CannotFindMessage(std::u16string_view text);
/// "Replaced <count> occurrence(s)".
std::u16string ReplacedMessage(std::size_t count);
/// Which lines could not be searched and why, by reason, with 1-based line numbers: "2 line(s)
/// could not be searched to the end:\nlines 3, 9: the pattern backtracks too much (match limit)".
/// Empty when there are none.
std::u16string UnsearchedMessage(const std::vector<UnsearchedLine>& unsearched);
/// The message after Find Next or Replace: "Cannot find" when nothing was found, and the lines
/// that could not be searched; empty when there is nothing to say (also after a cancel).
std::u16string SearchMessage(std::u16string_view text, const SearchOutcome& outcome);
/// The message after Replace All: the count, and the lines that were left because they could not
/// be searched; empty after a cancel.
std::u16string ReplaceAllMessage(const ReplaceAllOutcome& outcome);
/// The message for a regular expression that does not compile; nothing for one that does and for
/// plain text. The operations below find nothing and change nothing for such a pattern.
std::optional<std::u16string> PatternError(std::u16string_view text, SearchOptions options);
/// The message for a replacement that a regular expression refuses (a lone $, an unterminated ${,
/// a group the pattern does not have); nothing for plain text, for a pattern that does not
/// compile, and for a sound replacement. Replace and Replace All change nothing for such a one.
std::optional<std::u16string> ReplacementError(std::u16string_view text, std::u16string_view replacement,
                                               SearchOptions options);

/// The text selected on one line, for seeding a search: empty unless the selection has width and
/// lies on one line that reaches its left column.
std::u16string SelectedSearchText(const NameEditor& editor);

/// Selects the next match of `text` after the find start position (from the top with `restart`,
/// or when the text or options differ from the last search), wrapping to the top once. Not
/// found when nothing matches. An empty match (a regular expression may have one) is selected as a
/// caret, and the next search starts one character after it; after a regular-expression match
/// that is not empty, it starts at its end. `progress` counts the lines searched.
SearchOutcome FindNext(NameEditor& editor, SearchMemory& memory, std::u16string_view text, SearchOptions options,
                       bool restart, WorkProgress& progress = NoProgress());
/// Replaces the selection when it is a match under `options` that the replacement would change;
/// otherwise finds the next match and replaces that. One undo step; the replacement is selected
/// and the next search starts after it. Not found when nothing was found or the replacement is
/// refused.
SearchOutcome ReplaceCurrent(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                             std::u16string_view replacement, SearchOptions options,
                             WorkProgress& progress = NoProgress());
/// Replaces every match in every line as one undo step. Each line is matched as it was before:
/// a regular expression replaces as a global substitution does (RegexPattern::FindAll), plain text
/// each match left to right without overlap, so a replacement is never searched again. Leaves a
/// plain caret at the start of the last replacement. `progress` counts the lines searched; a
/// cancel changes nothing.
ReplaceAllOutcome ReplaceAll(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                             std::u16string_view replacement, SearchOptions options,
                             WorkProgress& progress = NoProgress());

}  // namespace nomvarix
