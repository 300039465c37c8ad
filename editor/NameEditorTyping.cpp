// Typing, inserting and deleting through the selection.
#include <algorithm>

#include "editor/NameEditor.h"
#include "editor/ParallelRanges.h"
#include "text/CharClass.h"
#include "text/Utf16.h"

#if defined(_MSC_VER)
#include <xmmintrin.h>
#endif

namespace nomvarix {
namespace {

constexpr std::size_t kPrefetchDistance = 6;

/// Asks the processor to bring the memory at `address` into its cache.
void Prefetch(const void* address) {
#if defined(_MSC_VER)
  _mm_prefetch(static_cast<const char*>(address), _MM_HINT_T0);
#else
  __builtin_prefetch(address);
#endif
}

}  // namespace

template <typename Edit>
void NameEditor::EditLines(std::int32_t first, std::int32_t last, Edit edit) {
  first = std::max(first, 0);
  last = std::min(last, static_cast<std::int32_t>(names_.size()) - 1);
  if (last < first) return;
  const std::size_t chunkLines = UndoHistory::kChunkLines;
  const auto from = static_cast<std::size_t>(first);
  // The halves meet at a chunk's start, so that no chunk is saved from both.
  const std::size_t lead = (chunkLines - from % chunkLines) % chunkLines;
  const std::size_t count = static_cast<std::size_t>(last) - from + 1;
  // Each half measures the lines it edited: an edit of every line leaves the longest line known.
  std::int32_t widest[3] = {0, 0, 0};  // the lead, and the two halves
  const auto editRange = [&](std::size_t begin, std::size_t end, std::int32_t& widestOfRange) {
    // Measured in a variable of the range's own: the two halves writing side by side on the stack
    // at every line would pass that memory between the processors all the time.
    std::int32_t measured = 0;
    for (std::size_t line = begin; line < end; ++line) {
      // A line's texts and cells are scattered over memory: they are asked for a few lines ahead.
      if (line + kPrefetchDistance < end) {
        const NameEntry& ahead = names_[line + kPrefetchDistance];
        Prefetch(ahead.lineText.data());
        Prefetch(ahead.newName.data());
        Prefetch(ahead.originalName.data());
        Prefetch(&keys_[line + kPrefetchDistance]);
      }
      edit(static_cast<std::int32_t>(line));
      measured = std::max(measured, static_cast<std::int32_t>(names_[line].lineText.size()));
      if ((line + 1) % chunkLines == 0 || line + 1 == end) history_.SaveChangedChunk(CurrentState(), line / chunkLines);
    }
    widestOfRange = measured;
  };
  editRange(from, from + std::min(lead, count), widest[0]);
  if (count > lead) {
    ParallelRanges(count - lead, chunkLines, count - lead >= kParallelLines, [&](std::size_t begin, std::size_t end) {
      editRange(from + lead + begin, from + lead + end, widest[begin == 0 ? 1 : 2]);
    });
  }
  if (first == 0 && static_cast<std::size_t>(last) + 1 == names_.size()) {
    longestLine_ = std::max({widest[0], widest[1], widest[2]});
    longestLineValid_ = true;
  }
}

namespace {

/// Characters that no file name may contain, refused as typed.
bool IsRefusedCharacter(char16_t ch) {
  return std::u16string_view(u"|\"*/:<>?\\").find(ch) != std::u16string_view::npos;
}

}  // namespace

void NameEditor::InsertChar(std::int32_t line, std::int32_t column, char16_t ch) {
  InsertText(line, column, std::u16string_view(&ch, 1));
}

void NameEditor::InsertText(std::int32_t line, std::int32_t column, std::u16string_view text) {
  if (!IsLine(line)) return;
  const auto index = static_cast<std::size_t>(line);
  std::u16string& lineText = names_[index].lineText;
  if (column < 0 || static_cast<std::size_t>(column) > lineText.size()) return;
  const std::size_t shown = lineText.size();
  if (shown + text.size() > kMaxLineLength) {
    refusedLines_.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  // Never between the halves of a pair, which would leave two halves that are no character.
  std::size_t at = static_cast<std::size_t>(column);
  if (SplitsSurrogatePair(lineText, at)) ++at;
  // Inserted by iterators: GCC 12 warns falsely (-Wrestrict) about insert(position, view).
  lineText.insert(lineText.begin() + static_cast<std::ptrdiff_t>(at), text.begin(), text.end());
  CommitLineText(index, shown);
}

void NameEditor::DeleteSelectedCells(std::int32_t line) {
  if (!IsLine(line)) return;
  const auto index = static_cast<std::size_t>(line);
  NameEntry& entry = names_[index];
  if (!LineHasMarks(line)) return;
  // A pair goes as a whole when either half is marked.
  const std::u16string_view text = entry.lineText;
  std::u16string kept;
  for (std::size_t i = 0; i < text.size();) {
    const UnitSpan character = CharacterAt(text, i);
    const bool marked = IsMarked(line, static_cast<std::int32_t>(character.begin)) ||
                        IsMarked(line, static_cast<std::int32_t>(character.end) - 1);
    if (!marked) kept.append(text.substr(character.begin, character.end - character.begin));
    i = character.end;
  }
  const std::size_t shown = text.size();
  entry.lineText = std::move(kept);
  CommitLineText(index, shown);
}

void NameEditor::DeleteSelectedCellsKeepNonEmpty(std::int32_t line) {
  if (!IsLine(line)) return;
  const auto length = static_cast<std::int32_t>(names_[static_cast<std::size_t>(line)].lineText.size());
  const bool everyCellMarked = marked_.from <= 0 && marked_.to >= length && line >= marked_.first && line <= marked_.last;
  if (everyCellMarked) return;
  DeleteSelectedCells(line);
}

void NameEditor::DeleteSelection() {
  if (selection_.IsNone()) return;
  if (marked_.first <= marked_.last) {
    EditLines(selection_.startLine, selection_.endLine, [this](std::int32_t line) { DeleteSelectedCells(line); });
  }
  marked_ = {};
  selection_.endColumn = selection_.startColumn;
  caret_ = {selection_.endLine, selection_.startColumn};
  ClampSelection();
}

namespace {

/// Removes the character at `column` of one line, both halves of a pair; returns the column the
/// character began at, or -1 when the line has no character there.
std::int32_t EraseAt(NameList& names, std::int32_t line, std::int32_t column) {
  std::u16string& text = names[static_cast<std::size_t>(line)].lineText;
  if (column < 0 || static_cast<std::size_t>(column) >= text.size()) return -1;
  const UnitSpan character = CharacterAt(text, static_cast<std::size_t>(column));
  text.erase(character.begin, character.end - character.begin);
  return static_cast<std::int32_t>(character.begin);
}

}  // namespace

bool NameEditor::TypeChar(char16_t ch) {
  // Half a pair alone is no character.
  if (IsControlCharacter(ch) || IsRefusedCharacter(ch) || IsHighSurrogate(ch) || IsLowSurrogate(ch) ||
      (editScope_ == EditScope::BaseName && ch == u'.')) {
    return false;
  }
  PushUndo();
  if (selection_.HasWidth()) return OverTypeBlock(ch);
  return TypeIntoCaret(ch);
}

bool NameEditor::TypeIntoCaret(char16_t ch) {
  DeleteSelection();  // collapses, as nothing has width
  const BlockSelection at = selection_;
  const std::int32_t column = at.startColumn + 1;
  if (!at.IsMultiLine()) {
    InsertChar(at.startLine, at.startColumn, ch);
    selection_ = {at.startLine, at.startLine, column, column};
    caret_ = {at.startLine, column};
    ClampSelection();
    ScrollColumnIntoView(caret_.column);
    return true;
  }
  EditLines(at.startLine, at.endLine, [&](std::int32_t line) { InsertChar(line, at.startColumn, ch); });
  selection_ = {at.startLine, at.endLine, column, column};
  caret_ = {at.endLine, column};
  ClampSelection();
  return true;
}

bool NameEditor::OverTypeBlock(char16_t ch) {
  const BlockSelection at = selection_;
  EditLines(at.startLine, at.endLine, [&](std::int32_t line) {
    const auto index = static_cast<std::size_t>(line);
    std::u16string& text = names_[index].lineText;
    if (static_cast<std::size_t>(at.startColumn) >= text.size()) return;
    const std::size_t shown = text.size();
    const UnitSpan character = CharacterAt(text, static_cast<std::size_t>(at.startColumn));
    text.replace(character.begin, character.end - character.begin, 1, ch);
    CommitLineText(index, shown);
  });
  selection_.startColumn = std::min(at.startColumn + 1, at.endColumn);
  caret_ = {at.endLine, selection_.startColumn};
  ClampSelection();
  MarkSelectionCells();
  return true;
}

bool NameEditor::Backspace() { return DeleteAtCaret(true); }

bool NameEditor::DeleteForward() { return DeleteAtCaret(false); }

bool NameEditor::DeleteAtCaret(bool beforeCaret) {
  if (selection_.IsNone()) return false;
  PushUndo();
  if (selection_.HasWidth()) {
    DeleteSelection();
    return true;
  }
  const std::int32_t column = selection_.startColumn;
  if (beforeCaret && column <= MinColumn()) {
    ClampSelection();
    return true;
  }
  // Lines too short to have the character are left alone.
  std::int32_t erased = beforeCaret ? column - 1 : column;
  const bool oneLine = !selection_.IsMultiLine();
  EditLines(selection_.startLine, selection_.endLine, [&](std::int32_t line) {
    const std::size_t shown = names_[static_cast<std::size_t>(line)].lineText.size();
    const std::int32_t begin = EraseAt(names_, line, erased);
    if (begin < 0) return;
    CommitLineText(static_cast<std::size_t>(line), shown);
    // One line's caret lands where its character began; a column caret keeps its column.
    if (oneLine) erased = std::max(begin, MinColumn());
  });
  selection_.startColumn = selection_.endColumn = erased;
  caret_ = {selection_.endLine, erased};
  ClampSelection();
  return true;
}

}  // namespace nomvarix
