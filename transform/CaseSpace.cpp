#include "transform/CaseSpace.h"

#include <algorithm>

#include "editor/NameEditor.h"
#include "editor/NameSplit.h"
#include "text/CaseMapping.h"
#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

bool IsWordBreak(char16_t u) { return IsWhiteSpace(u) || u == u'_' || u == u'-' || u == u'.'; }

/// `piece` with each character (both units of a surrogate pair together) replaced by
/// `map(codePoint, index of its first unit)`, which keeps the number of units (CaseMapped does).
template <typename Map>
std::u16string EachCharacter(std::u16string_view piece, Map map) {
  std::u16string out(piece);
  for (std::size_t k = 0; k < out.size();) {
    const UnitSpan span = CharacterAt(out, k);
    if (span.end - span.begin == 2) {
      const std::uint32_t pair = 0x10000 + ((static_cast<std::uint32_t>(out[k]) - 0xD800) << 10) +
                                 (static_cast<std::uint32_t>(out[k + 1]) - 0xDC00);
      const std::uint32_t mapped = map(pair, k) - 0x10000;
      out[k] = static_cast<char16_t>(0xD800 + (mapped >> 10));
      out[k + 1] = static_cast<char16_t>(0xDC00 + (mapped & 0x3FF));
    } else {
      out[k] = static_cast<char16_t>(map(out[k], k));
    }
    k = span.end;
  }
  return out;
}

std::u16string InForm(std::u16string_view piece, CaseForm form) {
  return EachCharacter(piece, [form](std::uint32_t c, std::size_t) { return CaseMapped(c, form); });
}

bool IsSeparator(char16_t u) { return u == u' ' || u == u'\t' || u == u'-' || u == u'_'; }

std::u16string TitleCased(std::u16string_view piece) {
  return EachCharacter(piece, [piece](std::uint32_t c, std::size_t k) {
    const bool capital = k == 0 || (IsWordBreak(piece[k - 1]) && !IsWordBreak(piece[k]));
    return CaseMapped(c, capital ? CaseForm::Title : CaseForm::Lower);
  });
}

std::u16string Toggled(std::u16string_view piece) {
  return EachCharacter(piece, [](std::uint32_t c, std::size_t) {
    const std::uint32_t lowered = CaseMapped(c, CaseForm::Lower);
    return lowered != c ? lowered : CaseMapped(c, CaseForm::Upper);
  });
}

std::u16string Separated(std::u16string_view piece, TextTransform transform) {
  std::u16string out;
  bool afterSeparator = false;
  for (const char16_t u : piece) {
    if (!IsSeparator(u)) {
      out.push_back(u);
      afterSeparator = false;
    } else if (transform != TextTransform::RemoveSpace) {
      if (!afterSeparator) out.push_back(transform == TextTransform::Underscores ? u'_' : u'-');
      afterSeparator = true;
    }
  }
  if (!out.empty() && (out.back() == u'_' || out.back() == u'-' || out.back() == u' ')) out.pop_back();
  return out;
}

}  // namespace

std::u16string Transformed(std::u16string_view piece, TextTransform transform) {
  switch (transform) {
    case TextTransform::Uppercase:
      return InForm(piece, CaseForm::Upper);
    case TextTransform::Lowercase:
      return InForm(piece, CaseForm::Lower);
    case TextTransform::TitleCase:
      return TitleCased(piece);
    case TextTransform::ToggleCase:
      return Toggled(piece);
    case TextTransform::RemoveSpace:
    case TextTransform::Underscores:
    case TextTransform::Hyphens:
      return Separated(piece, transform);
  }
  return std::u16string(piece);
}

bool TransformSelection(NameEditor& editor, TextTransform transform) {
  const BlockSelection s = editor.Selection();
  if (s.startColumn == s.endColumn || editor.LineCount() == 0) return false;
  editor.PushUndo();
  const auto c0 = static_cast<std::size_t>(std::min(s.startColumn, s.endColumn));
  const auto c1 = static_cast<std::size_t>(std::max(s.startColumn, s.endColumn));
  const auto last = std::min<std::size_t>(static_cast<std::size_t>(std::max(s.startLine, s.endLine)), editor.LineCount() - 1);
  for (auto line = static_cast<std::size_t>(std::min(s.startLine, s.endLine)); line <= last; ++line) {
    const std::u16string& text = editor.Names()[line].lineText;
    // Title case is for words: an extension shown with the name keeps its case ("a.jpg" → "A.jpg").
    const std::size_t reach = transform == TextTransform::TitleCase && editor.Scope() == EditScope::WholeName
                                  ? SplitAtLastDot(text).base.size()
                                  : text.size();
    if (c0 >= reach) continue;
    const std::size_t end = std::min(c1, reach);
    std::u16string changed = text.substr(0, c0) + Transformed(std::u16string_view(text).substr(c0, end - c0), transform);
    changed += std::u16string_view(text).substr(end);
    editor.SetLineText(line, std::move(changed));
  }
  editor.MarkSelectionCells();
  return true;
}

}  // namespace nomvarix
