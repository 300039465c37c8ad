#include "transform/FindReplace.h"

#include <variant>

#include "editor/NameEditor.h"
#include "text/AsciiCase.h"
#include "text/CharClass.h"
#include "text/Utf16.h"
#include "transform/RegexPattern.h"

namespace nomvarix {
namespace {

/// What one search looks for: plain text under the options, or a pattern compiled once for the
/// whole search.
class Searcher {
 public:
  /// Nothing when the options ask for a regular expression that does not compile.
  static std::optional<Searcher> Make(std::u16string_view text, SearchOptions options) {
    if (!options.regex) return Searcher(text, options, std::nullopt);
    auto compiled = RegexPattern::Compile(text, options.matchCase);
    if (auto* pattern = std::get_if<RegexPattern>(&compiled)) return Searcher(text, options, std::move(*pattern));
    return std::nullopt;
  }

  /// The first accepted match in `line` that starts at or after `from`.
  std::optional<RegexMatch> Find(std::u16string_view line, std::size_t from) const {
    if (pattern_) return pattern_->Find(line, from);
    const std::size_t at = FindText(line, from);
    if (at == std::u16string_view::npos) return std::nullopt;
    return RegexMatch{at, at + text_.size(), {}};
  }

  /// The text that replaces `match` of `line`.
  std::u16string Replacement(std::u16string_view replacement, std::u16string_view line, const RegexMatch& match) const {
    return pattern_ ? pattern_->Expand(replacement, line, match) : std::u16string(replacement);
  }

 private:
  Searcher(std::u16string_view text, SearchOptions options, std::optional<RegexPattern> pattern)
      : text_(options.matchCase ? std::u16string(text) : FoldAscii(text)), options_(options), pattern_(std::move(pattern)) {}

  std::size_t FindText(std::u16string_view line, std::size_t from) const {
    std::u16string foldedLine;
    if (!options_.matchCase) {
      foldedLine = FoldAscii(line);
      line = foldedLine;
    }
    for (std::size_t at = line.find(text_, from); at != std::u16string_view::npos; at = line.find(text_, at + 1)) {
      if (!options_.wholeWord) return at;
      const bool startsWord = at == 0 || !IsAlphanumeric(line[at - 1]);
      const std::size_t end = at + text_.size();
      const bool endsWord = end >= line.size() || !IsAlphanumeric(line[end]);
      if (startsWord && endsWord) return at;
    }
    return std::u16string_view::npos;
  }

  /// The plain text looked for, A..Z folded once for the whole search when case does not count.
  std::u16string text_;
  SearchOptions options_;
  std::optional<RegexPattern> pattern_;
};

const std::u16string& LineText(const NameEditor& editor, std::int32_t line) {
  return editor.Names()[static_cast<std::size_t>(line)].lineText;
}

/// One pass from the find start position (or the top) to the end of the list, no wrap. Selects
/// the match found and returns it.
std::optional<RegexMatch> FindDownwards(NameEditor& editor, SearchMemory& memory, const Searcher& searcher,
                                        bool fromTop) {
  const auto count = static_cast<std::int32_t>(editor.LineCount());
  const std::int32_t firstLine = fromTop ? 0 : std::max(memory.findStart.line, 0);
  for (std::int32_t line = firstLine; line < count; ++line) {
    const std::size_t from =
        (!fromTop && line == firstLine) ? static_cast<std::size_t>(std::max(memory.findStart.column + 1, 0)) : 0;
    const std::optional<RegexMatch> match = searcher.Find(LineText(editor, line), from);
    if (!match) continue;
    const auto column = static_cast<std::int32_t>(match->start);
    const auto end = static_cast<std::int32_t>(match->end);
    memory.findStart = {line, column};
    editor.SetSelection({line, line, column, end}, {line, end});
    editor.ScrollLineIntoView(line);
    editor.ScrollColumnIntoView(column);
    return match;
  }
  return std::nullopt;
}

/// Stores the text and options as the last ones; true when they differ from them (the search
/// then starts from the top).
bool RememberSearch(SearchMemory& memory, std::u16string_view text, SearchOptions options) {
  const bool changed = text != memory.lastText || options != memory.LastOptions();
  memory.lastText = text;
  memory.SetLastOptions(options);
  return changed;
}

std::optional<RegexMatch> FindNextWith(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                                       SearchOptions options, const Searcher& searcher, bool restart) {
  if (editor.LineCount() == 0) return std::nullopt;
  if (RememberSearch(memory, text, options)) restart = true;
  if (auto match = FindDownwards(editor, memory, searcher, restart)) return match;
  if (restart) return std::nullopt;
  return FindDownwards(editor, memory, searcher, true);
}

/// Puts `replacement` in place of the selected match and selects it. The next search starts
/// right after it, or one character further after an empty match, which would otherwise be
/// found again at once.
void ReplaceSelection(NameEditor& editor, SearchMemory& memory, bool emptyMatch, std::u16string_view replacement) {
  const BlockSelection at = editor.Selection();
  editor.DeleteSelection();
  const std::int32_t line = at.startLine;
  const std::int32_t column = at.startColumn;
  editor.InsertText(line, column, replacement);
  const auto end = column + static_cast<std::int32_t>(replacement.size());
  editor.SetSelection({line, line, column, end}, {line, end});
  memory.findStart = {line, emptyMatch ? end : end - 1};
}

/// The selection as a match that replacing would change; nothing when it is no match of its own.
/// A selected text that already reads as its replacement (such as the one Replace just put in)
/// does not count, so that repeated presses go on to the next match instead of replacing it by
/// itself.
std::optional<RegexMatch> ReplaceableSelection(const NameEditor& editor, const Searcher& searcher,
                                               std::u16string_view replacement) {
  const std::u16string selected = SelectedSearchText(editor);
  if (selected.empty()) return std::nullopt;
  const BlockSelection& s = editor.Selection();
  const std::u16string& line = LineText(editor, s.startLine);
  // Searched in its line, so that the whole-word test and the pattern see the characters around it.
  std::optional<RegexMatch> match = searcher.Find(line, static_cast<std::size_t>(s.startColumn));
  if (!match || match->start != static_cast<std::size_t>(s.startColumn) ||
      match->end != static_cast<std::size_t>(s.endColumn) || searcher.Replacement(replacement, line, *match) == selected) {
    return std::nullopt;
  }
  return match;
}

}  // namespace

std::u16string CannotFindMessage(std::u16string_view text) { return u"Cannot find \"" + std::u16string(text) + u"\""; }

std::u16string ReplacedMessage(std::size_t count) {
  return u"Replaced " + FromUtf8(std::to_string(count)) + u" occurrence(s)";
}

std::optional<std::u16string> PatternError(std::u16string_view text, SearchOptions options) {
  if (!options.regex) return std::nullopt;
  const auto compiled = RegexPattern::Compile(text, options.matchCase);
  if (const auto* error = std::get_if<RegexPattern::Error>(&compiled)) return InvalidRegexMessage(*error);
  return std::nullopt;
}

std::u16string SelectedSearchText(const NameEditor& editor) {
  const BlockSelection& s = editor.Selection();
  if (!s.HasWidth() || s.IsMultiLine() || s.startLine < 0 || static_cast<std::size_t>(s.startLine) >= editor.LineCount()) {
    return {};
  }
  const std::u16string& text = editor.Names()[static_cast<std::size_t>(s.startLine)].lineText;
  const auto left = static_cast<std::size_t>(s.startColumn);
  if (text.size() < left) return {};
  return text.substr(left, static_cast<std::size_t>(s.endColumn - s.startColumn));
}

bool FindNext(NameEditor& editor, SearchMemory& memory, std::u16string_view text, SearchOptions options,
              bool restart) {
  if (text.empty()) return false;
  const std::optional<Searcher> searcher = Searcher::Make(text, options);
  return searcher && FindNextWith(editor, memory, text, options, *searcher, restart);
}

bool ReplaceCurrent(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                    std::u16string_view replacement, SearchOptions options) {
  if (text.empty()) return false;
  const std::optional<Searcher> searcher = Searcher::Make(text, options);
  if (!searcher) return false;
  std::optional<RegexMatch> match = ReplaceableSelection(editor, *searcher, replacement);
  if (match) {
    RememberSearch(memory, text, options);  // the next press goes on from here
  } else if (!(match = FindNextWith(editor, memory, text, options, *searcher, false))) {
    return false;
  }
  const std::u16string with = searcher->Replacement(replacement, LineText(editor, editor.Selection().startLine), *match);
  editor.PushUndo();
  ReplaceSelection(editor, memory, match->start == match->end, with);
  return true;
}

std::size_t ReplaceAll(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                       std::u16string_view replacement, SearchOptions options) {
  if (text.empty()) return 0;
  const std::optional<Searcher> searcher = Searcher::Make(text, options);
  if (!searcher) return 0;
  editor.PushUndo();
  std::optional<RegexMatch> match = FindNextWith(editor, memory, text, options, *searcher, true);
  std::size_t count = 0;
  for (; match; match = FindDownwards(editor, memory, *searcher, false)) {
    const std::u16string& line = LineText(editor, editor.Selection().startLine);
    ReplaceSelection(editor, memory, match->start == match->end, searcher->Replacement(replacement, line, *match));
    ++count;
  }
  if (count == 0) return 0;
  // A plain caret at the start of the last replacement.
  const TextPos last{editor.Selection().startLine, editor.Selection().startColumn};
  editor.SetSelection({last.line, last.line, last.column, last.column}, last);
  return count;
}

}  // namespace nomvarix
