#include "transform/FindReplace.h"

#include "editor/NameEditor.h"
#include "text/AsciiCase.h"
#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// The first accepted match of `text` in `line` at or after `from`; npos when none.
std::size_t FindInLine(std::u16string_view line, std::u16string_view text, std::size_t from, SearchOptions options) {
  std::u16string foldedLine;
  std::u16string foldedText;
  if (!options.matchCase) {
    foldedLine = FoldAscii(line);
    foldedText = FoldAscii(text);
    line = foldedLine;
    text = foldedText;
  }
  for (std::size_t at = line.find(text, from); at != std::u16string_view::npos; at = line.find(text, at + 1)) {
    if (!options.wholeWord) return at;
    const bool startsWord = at == 0 || !IsAlphanumeric(line[at - 1]);
    const std::size_t end = at + text.size();
    const bool endsWord = end >= line.size() || !IsAlphanumeric(line[end]);
    if (startsWord && endsWord) return at;
  }
  return std::u16string_view::npos;
}

/// One pass from the find start position (or the top) to the end of the list, no wrap.
bool FindDownwards(NameEditor& editor, SearchMemory& memory, std::u16string_view text, SearchOptions options,
                   bool fromTop) {
  const auto count = static_cast<std::int32_t>(editor.LineCount());
  const std::int32_t firstLine = fromTop ? 0 : std::max(memory.findStart.line, 0);
  for (std::int32_t line = firstLine; line < count; ++line) {
    const std::size_t from =
        (!fromTop && line == firstLine) ? static_cast<std::size_t>(std::max(memory.findStart.column + 1, 0)) : 0;
    const std::u16string& lineText = editor.Names()[static_cast<std::size_t>(line)].lineText;
    if (from > lineText.size()) continue;
    const std::size_t at = FindInLine(lineText, text, from, options);
    if (at == std::u16string_view::npos) continue;
    const auto column = static_cast<std::int32_t>(at);
    const auto end = column + static_cast<std::int32_t>(text.size());
    memory.findStart = {line, column};
    editor.SetSelection({line, line, column, end}, {line, end});
    editor.ScrollLineIntoView(line);
    editor.ScrollColumnIntoView(column);
    return true;
  }
  return false;
}

/// Puts `replacement` in place of the selected match and selects it; the next search starts
/// right after it.
void ReplaceSelection(NameEditor& editor, SearchMemory& memory, std::u16string_view replacement) {
  const BlockSelection at = editor.Selection();
  editor.DeleteSelection();
  const std::int32_t line = at.startLine;
  const std::int32_t column = at.startColumn;
  editor.InsertText(line, column, replacement);
  const auto end = column + static_cast<std::int32_t>(replacement.size());
  editor.SetSelection({line, line, column, end}, {line, end});
  memory.findStart = {line, end - 1};
}

/// Stores the text and options as the last ones; true when they differ from them (the search
/// then starts from the top).
bool RememberSearch(SearchMemory& memory, std::u16string_view text, SearchOptions options) {
  const bool changed = text != memory.lastText || options.matchCase != memory.lastMatchCase ||
                       options.wholeWord != memory.lastWholeWord;
  memory.lastText = text;
  memory.lastMatchCase = options.matchCase;
  memory.lastWholeWord = options.wholeWord;
  return changed;
}

/// Whether the selection is a match of `text` that replacing would change. A selected text that
/// already reads as the replacement (such as the one Replace just put in) is not one, so that
/// repeated presses go on to the next match instead of replacing it by itself.
bool SelectionIsReplaceableMatch(const NameEditor& editor, std::u16string_view text,
                                 std::u16string_view replacement, SearchOptions options) {
  const std::u16string selected = SelectedSearchText(editor);
  if (selected.empty() || selected.size() != text.size() || selected == replacement) return false;
  const BlockSelection& s = editor.Selection();
  const auto from = static_cast<std::size_t>(s.startColumn);
  // Searched in its line, so that the whole-word test sees the characters around it.
  return FindInLine(editor.Names()[static_cast<std::size_t>(s.startLine)].lineText, text, from, options) == from;
}

}  // namespace

std::u16string CannotFindMessage(std::u16string_view text) { return u"Cannot find \"" + std::u16string(text) + u"\""; }

std::u16string ReplacedMessage(std::size_t count) {
  return u"Replaced " + FromUtf8(std::to_string(count)) + u" occurrence(s)";
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
  if (text.empty() || editor.LineCount() == 0) return false;
  if (RememberSearch(memory, text, options)) restart = true;
  if (FindDownwards(editor, memory, text, options, restart)) return true;
  return !restart && FindDownwards(editor, memory, text, options, true);
}

bool ReplaceCurrent(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                    std::u16string_view replacement, SearchOptions options) {
  if (SelectionIsReplaceableMatch(editor, text, replacement, options)) {
    RememberSearch(memory, text, options);  // the next press goes on from here
  } else if (!FindNext(editor, memory, text, options, false)) {
    return false;
  }
  editor.PushUndo();
  ReplaceSelection(editor, memory, replacement);
  return true;
}

std::size_t ReplaceAll(NameEditor& editor, SearchMemory& memory, std::u16string_view text,
                       std::u16string_view replacement, SearchOptions options) {
  if (text.empty()) return 0;
  editor.PushUndo();
  if (!FindNext(editor, memory, text, options, true)) return 0;
  std::size_t count = 0;
  do {
    ReplaceSelection(editor, memory, replacement);
    ++count;
  } while (FindDownwards(editor, memory, text, options, false));
  // A plain caret at the start of the last replacement.
  const TextPos last{editor.Selection().startLine, editor.Selection().startColumn};
  editor.SetSelection({last.line, last.line, last.column, last.column}, last);
  return count;
}

}  // namespace nomvarix
