#include "transform/FindReplace.h"

#include <algorithm>
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
    auto compiled = RegexPattern::Compile(text, options.matchCase, options.wholeWord);
    if (auto* pattern = std::get_if<RegexPattern>(&compiled)) return Searcher(text, options, std::move(*pattern));
    return std::nullopt;
  }

  /// The first accepted match in `line` that starts at or after `from`.
  RegexFound Find(std::u16string_view line, std::size_t from) const {
    if (pattern_) return pattern_->Find(line, from);
    const std::size_t at = FindText(line, from);
    if (at == std::u16string_view::npos) return {};
    return {RegexMatch{at, at + text_.size(), {}}, std::nullopt};
  }

  /// Every match that replacing all replaces in `line` as it is.
  RegexMatches FindAll(std::u16string_view line) const {
    if (pattern_) return pattern_->FindAll(line);
    RegexMatches all;
    for (std::size_t at = FindText(line, 0); at != std::u16string_view::npos; at = FindText(line, at + text_.size())) {
      all.matches.push_back(RegexMatch{at, at + text_.size(), {}});
    }
    return all;
  }

  /// `replacement` read for this search: plain text stays as it is.
  std::variant<RegexReplacement, RegexReplacement::Error> Read(std::u16string_view replacement) const {
    if (!pattern_) return RegexReplacement::Literal(replacement);
    return pattern_->ReadReplacement(replacement);
  }

  /// The column after which the next search starts once `match` was found on its line: plain text
  /// goes on inside it, a pattern at its end, or one character further after an empty match.
  std::int32_t ResumeAfter(const RegexMatch& match) const {
    const std::size_t column = pattern_ && match.end > match.start ? match.end - 1 : match.start;
    return static_cast<std::int32_t>(column);
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

/// A search's way through the lines: it reports each line to the progress, and keeps the lines it
/// could not search.
class LineScan {
 public:
  LineScan(WorkProgress& progress, std::size_t total) : progress_(progress), total_(total) {}

  /// False once the search is to stop.
  bool Next() { return progress_.Advance(done_++, total_); }
  bool Cancelled() const { return progress_.Cancelled(); }
  void Unsearched(std::int32_t line, RegexFailure why) {
    const UnsearchedLine entry{line, why};
    if (std::find(unsearched_.begin(), unsearched_.end(), entry) == unsearched_.end()) unsearched_.push_back(entry);
  }
  std::vector<UnsearchedLine> TakeUnsearched() {
    std::sort(unsearched_.begin(), unsearched_.end(),
              [](const UnsearchedLine& a, const UnsearchedLine& b) { return a.line < b.line; });
    return std::move(unsearched_);
  }

 private:
  WorkProgress& progress_;
  const std::size_t total_;
  std::size_t done_ = 0;
  std::vector<UnsearchedLine> unsearched_;
};

/// One pass from the find start position (or the top) to the end of the list, no wrap. Selects
/// the match found and returns it.
std::optional<RegexMatch> FindDownwards(NameEditor& editor, SearchMemory& memory, const Searcher& searcher,
                                        bool fromTop, LineScan& scan) {
  const auto count = static_cast<std::int32_t>(editor.LineCount());
  const std::int32_t firstLine = fromTop ? 0 : std::max(memory.findStart.line, 0);
  for (std::int32_t line = firstLine; line < count && scan.Next(); ++line) {
    const std::size_t from =
        (!fromTop && line == firstLine) ? static_cast<std::size_t>(std::max(memory.findStart.column + 1, 0)) : 0;
    RegexFound found = searcher.Find(LineText(editor, line), from);
    if (found.failure) scan.Unsearched(line, *found.failure);
    if (!found.match) continue;
    const auto column = static_cast<std::int32_t>(found.match->start);
    const auto end = static_cast<std::int32_t>(found.match->end);
    memory.findStart = {line, searcher.ResumeAfter(*found.match)};
    editor.SetSelection({line, line, column, end}, {line, end});
    editor.ScrollLineIntoView(line);
    editor.ScrollColumnIntoView(column);
    return std::move(found.match);
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
                                       SearchOptions options, const Searcher& searcher, bool restart,
                                       LineScan& scan) {
  if (editor.LineCount() == 0) return std::nullopt;
  if (RememberSearch(memory, text, options)) restart = true;
  if (auto match = FindDownwards(editor, memory, searcher, restart, scan)) return match;
  if (restart || scan.Cancelled()) return std::nullopt;
  return FindDownwards(editor, memory, searcher, true, scan);
}

/// The lines a search may go through: from the find start to the end, and then all of them.
std::size_t LinesToSearch(const NameEditor& editor, const SearchMemory& memory, bool restart) {
  const std::size_t count = editor.LineCount();
  const auto start = static_cast<std::size_t>(std::clamp<std::int32_t>(memory.findStart.line, 0, static_cast<std::int32_t>(count)));
  return restart ? count : 2 * count - start;
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
                                               const RegexReplacement& replacement) {
  const std::u16string selected = SelectedSearchText(editor);
  if (selected.empty()) return std::nullopt;
  const BlockSelection& s = editor.Selection();
  const std::u16string& line = LineText(editor, s.startLine);
  // Searched in its line, so that the whole-word test and the pattern see the characters around it.
  std::optional<RegexMatch> match = searcher.Find(line, static_cast<std::size_t>(s.startColumn)).match;
  if (!match || match->start != static_cast<std::size_t>(s.startColumn) ||
      match->end != static_cast<std::size_t>(s.endColumn) || replacement.Expand(line, *match) == selected) {
    return std::nullopt;
  }
  return match;
}

/// One line's text after replacing all of its `matches`, and where its last replacement lies.
struct ReplacedLine {
  std::int32_t line = 0;
  std::u16string text;
  std::size_t lastStart = 0;
  std::size_t lastEnd = 0;
  bool lastWasEmptyMatch = false;
};

ReplacedLine ReplaceMatches(std::int32_t line, std::u16string_view text, const std::vector<RegexMatch>& matches,
                            const RegexReplacement& replacement) {
  ReplacedLine out{line, {}, 0, 0, false};
  std::size_t copied = 0;
  for (const RegexMatch& match : matches) {
    out.text.append(text.substr(copied, match.start - copied));
    out.lastStart = out.text.size();
    out.text += replacement.Expand(text, match);
    out.lastEnd = out.text.size();
    out.lastWasEmptyMatch = match.start == match.end;
    copied = match.end;
  }
  out.text.append(text.substr(copied));
  return out;
}

std::u16string LineNumbers(const std::vector<std::int32_t>& lines) {
  constexpr std::size_t kListed = 10;
  std::string text = lines.size() == 1 ? "line " : "lines ";
  for (std::size_t i = 0; i < lines.size() && i < kListed; ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(lines[i] + 1);
  }
  if (lines.size() > kListed) text += " and " + std::to_string(lines.size() - kListed) + " more";
  return FromUtf8(text);
}

std::u16string_view ReasonText(RegexFailure why) {
  switch (why) {
    case RegexFailure::TooManySteps:
      return u"the pattern backtracks too much there (the match limit was reached)";
    case RegexFailure::TooDeep:
      return u"the pattern nests too deeply there (the depth or memory limit was reached)";
    case RegexFailure::Failed:
      break;
  }
  return u"the regular expression library reported an error";
}

}  // namespace

std::u16string CannotFindMessage(std::u16string_view text) { return u"Cannot find \"" + std::u16string(text) + u"\""; }

std::u16string ReplacedMessage(std::size_t count) {
  return u"Replaced " + FromUtf8(std::to_string(count)) + u" occurrence(s)";
}

std::u16string UnsearchedMessage(const std::vector<UnsearchedLine>& unsearched) {
  if (unsearched.empty()) return {};
  std::u16string message =
      FromUtf8(std::to_string(unsearched.size())) + u" line(s) could not be searched to the end:";
  for (const RegexFailure why : {RegexFailure::TooManySteps, RegexFailure::TooDeep, RegexFailure::Failed}) {
    std::vector<std::int32_t> lines;
    for (const UnsearchedLine& entry : unsearched) {
      if (entry.why == why) lines.push_back(entry.line);
    }
    if (!lines.empty()) message += u"\n" + LineNumbers(lines) + u": " + std::u16string(ReasonText(why));
  }
  return message;
}

std::u16string SearchMessage(std::u16string_view text, const SearchOutcome& outcome) {
  if (outcome.cancelled) return {};
  std::u16string message = outcome.found ? std::u16string() : CannotFindMessage(text);
  if (!outcome.unsearched.empty()) {
    if (!message.empty()) message += u"\n\n";
    message += UnsearchedMessage(outcome.unsearched);
  }
  return message;
}

std::u16string ReplaceAllMessage(const ReplaceAllOutcome& outcome) {
  if (outcome.cancelled) return {};
  std::u16string message = ReplacedMessage(outcome.count);
  if (!outcome.unsearched.empty()) {
    message += u"\n\n" + UnsearchedMessage(outcome.unsearched) + u"\nThose lines were left as they were.";
  }
  return message;
}

std::optional<std::u16string> PatternError(std::u16string_view text, SearchOptions options) {
  if (!options.regex) return std::nullopt;
  const auto compiled = RegexPattern::Compile(text, options.matchCase, options.wholeWord);
  if (const auto* error = std::get_if<RegexPattern::Error>(&compiled)) return InvalidRegexMessage(*error);
  return std::nullopt;
}

std::optional<std::u16string> ReplacementError(std::u16string_view text, std::u16string_view replacement,
                                               SearchOptions options) {
  if (!options.regex) return std::nullopt;
  const auto compiled = RegexPattern::Compile(text, options.matchCase, options.wholeWord);
  const auto* pattern = std::get_if<RegexPattern>(&compiled);
  if (!pattern) return std::nullopt;
  const auto read = pattern->ReadReplacement(replacement);
  if (const auto* error = std::get_if<RegexReplacement::Error>(&read)) return InvalidReplacementMessage(*error);
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

SearchOutcome FindNext(NameEditor& editor, SearchMemory& memory, std::u16string_view text, SearchOptions options,
                       bool restart, WorkProgress& progress) {
  if (text.empty()) return {};
  const std::optional<Searcher> searcher = Searcher::Make(text, options);
  if (!searcher) return {};
  LineScan scan(progress, LinesToSearch(editor, memory, restart));
  const bool found = FindNextWith(editor, memory, text, options, *searcher, restart, scan).has_value();
  return {found, scan.Cancelled(), scan.TakeUnsearched()};
}

SearchOutcome ReplaceCurrent(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                             std::u16string_view replacement, SearchOptions options, WorkProgress& progress) {
  if (text.empty()) return {};
  const std::optional<Searcher> searcher = Searcher::Make(text, options);
  if (!searcher) return {};
  const auto read = searcher->Read(replacement);
  const auto* with = std::get_if<RegexReplacement>(&read);
  if (!with) return {};
  LineScan scan(progress, LinesToSearch(editor, memory, false));
  std::optional<RegexMatch> match = ReplaceableSelection(editor, *searcher, *with);
  if (match) {
    RememberSearch(memory, text, options);  // the next press goes on from here
  } else if (!(match = FindNextWith(editor, memory, text, options, *searcher, false, scan))) {
    return {false, scan.Cancelled(), scan.TakeUnsearched()};
  }
  const std::u16string replaced = with->Expand(LineText(editor, editor.Selection().startLine), *match);
  editor.PushUndo();
  ReplaceSelection(editor, memory, match->start == match->end, replaced);
  return {true, false, scan.TakeUnsearched()};
}

ReplaceAllOutcome ReplaceAll(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                             std::u16string_view replacement, SearchOptions options, WorkProgress& progress) {
  ReplaceAllOutcome outcome;
  if (text.empty()) return outcome;
  const std::optional<Searcher> searcher = Searcher::Make(text, options);
  if (!searcher) return outcome;
  const auto read = searcher->Read(replacement);
  const auto* with = std::get_if<RegexReplacement>(&read);
  if (!with) return outcome;
  RememberSearch(memory, text, options);
  // Every line is worked out before any changes, so that a cancel leaves them all as they were.
  const std::size_t count = editor.LineCount();
  LineScan scan(progress, count);
  std::vector<ReplacedLine> replaced;
  for (std::size_t i = 0; i < count; ++i) {
    if (!scan.Next()) return {0, true, {}};
    const auto line = static_cast<std::int32_t>(i);
    const std::u16string& lineText = LineText(editor, line);
    const RegexMatches found = searcher->FindAll(lineText);
    if (found.failure) scan.Unsearched(line, *found.failure);
    if (found.matches.empty()) continue;
    outcome.count += found.matches.size();
    replaced.push_back(ReplaceMatches(line, lineText, found.matches, *with));
  }
  outcome.unsearched = scan.TakeUnsearched();
  if (replaced.empty()) return outcome;
  // A plain caret at the start of the last replacement; a next search goes on after it.
  const ReplacedLine last = replaced.back();
  // A replacement may give a line back as it was ($ by nothing): no undo step for that alone.
  std::erase_if(replaced, [&](const ReplacedLine& done) { return done.text == LineText(editor, done.line); });
  if (!replaced.empty()) editor.PushUndo();
  for (ReplacedLine& done : replaced) editor.SetLineText(static_cast<std::size_t>(done.line), std::move(done.text));
  const TextPos caret{last.line, static_cast<std::int32_t>(last.lastStart)};
  editor.SetSelection({caret.line, caret.line, caret.column, caret.column}, caret);
  const auto end = static_cast<std::int32_t>(last.lastEnd);
  memory.findStart = {last.line, last.lastWasEmptyMatch ? end : end - 1};
  return outcome;
}

}  // namespace nomvarix
