#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "editor/TextPos.h"

namespace nomvarix {

class NameEditor;

struct SearchOptions {
  bool matchCase = false;  ///< without it ASCII letters match either case
  bool wholeWord = false;  ///< the match must not touch a letter or digit on either side
  /// The text is a regular expression matched on each line (whole word does not apply), and the
  /// replacement may name its groups, as RegexPattern::Expand says.
  bool regex = false;

  bool operator==(const SearchOptions&) const = default;
};

/// What searching remembers between searches: the last text and options, and where the next
/// search starts (the start of the last match, moved by replacements and by mouse selections).
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

/// "Cannot find \"<text>\"".
std::u16string CannotFindMessage(std::u16string_view text);
/// "Replaced <count> occurrence(s)".
std::u16string ReplacedMessage(std::size_t count);
/// The message for a regular expression that does not compile; nothing for one that does and for
/// plain text. The operations below find nothing and change nothing for such a pattern.
std::optional<std::u16string> PatternError(std::u16string_view text, SearchOptions options);

/// The text selected on one line, for seeding a search: empty unless the selection has width and
/// lies on one line that reaches its left column.
std::u16string SelectedSearchText(const NameEditor& editor);

/// Selects the next match of `text` after the find start position (from the top with `restart`,
/// or when the text or options differ from the last search), wrapping to the top once. False
/// when nothing matches. An empty match (a regular expression may have one) is selected as a
/// caret, and the next search starts one character after it.
bool FindNext(NameEditor& editor, SearchMemory& memory, std::u16string_view text, SearchOptions options,
              bool restart);
/// Replaces the selection when it is a match under `options` that the replacement would change;
/// otherwise finds the next match and replaces that. One undo step; the replacement is selected
/// and the next search starts after it. False when nothing was found.
bool ReplaceCurrent(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                    std::u16string_view replacement, SearchOptions options);
/// Replaces every match present at the start, top to bottom, as one undo step (a replacement that
/// matches again is not replaced again), leaving a plain caret at the start of the last
/// replacement. Returns the count.
std::size_t ReplaceAll(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                       std::u16string_view replacement, SearchOptions options);

}  // namespace nomvarix
