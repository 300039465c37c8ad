#include "transform/CaseSpace.h"

#include <algorithm>

#include "editor/NameEditor.h"
#include "text/AsciiCase.h"
#include "text/CharClass.h"

namespace nomvarix {
namespace {

constexpr char16_t UpperAscii(char16_t u) { return (u >= u'a' && u <= u'z') ? u - (u'a' - u'A') : u; }

bool IsWordBreak(char16_t u) { return IsWhiteSpace(u) || u == u'_' || u == u'-' || u == u'.'; }

bool IsSeparator(char16_t u) { return u == u' ' || u == u'\t' || u == u'-' || u == u'_'; }

std::u16string TitleCased(std::u16string_view piece) {
  std::u16string out(piece);
  for (std::size_t k = 0; k < out.size(); ++k) {
    const bool capital = k == 0 || (IsWordBreak(piece[k - 1]) && !IsWordBreak(piece[k]));
    out[k] = capital ? UpperAscii(piece[k]) : FoldAscii(piece[k]);
  }
  return out;
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
  std::u16string out(piece);
  switch (transform) {
    case TextTransform::Uppercase:
      std::transform(out.begin(), out.end(), out.begin(), UpperAscii);
      return out;
    case TextTransform::Lowercase:
      return FoldAscii(piece);
    case TextTransform::TitleCase:
      return TitleCased(piece);
    case TextTransform::ToggleCase:
      for (char16_t& u : out) u = IsUpperCase(u) ? FoldAscii(u) : UpperAscii(u);
      return out;
    case TextTransform::RemoveSpace:
    case TextTransform::Underscores:
    case TextTransform::Hyphens:
      return Separated(piece, transform);
  }
  return out;
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
    if (c0 >= text.size()) continue;
    const std::size_t end = std::min(c1, text.size());
    std::u16string changed = text.substr(0, c0) + Transformed(std::u16string_view(text).substr(c0, end - c0), transform);
    changed += std::u16string_view(text).substr(end);
    editor.SetLineText(line, std::move(changed));
  }
  editor.MarkSelectionCells();
  return true;
}

}  // namespace nomvarix
