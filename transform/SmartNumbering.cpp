#include "transform/SmartNumbering.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/NameEditor.h"
#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// A padded number that would not fit 31 characters.
constexpr std::size_t kMaxPaddedWidth = 31;

struct Example {
  bool padded = false;
  std::size_t width = 0;
  std::int32_t start = 0;
  std::u16string tail;
};

/// Decimal digits of any script, as their values; a run longer than 32 bits holds is no number.
std::optional<std::int32_t> NumberOf(std::u16string_view digits) {
  std::int64_t value = 0;
  for (const char16_t u : digits) {
    if (u < u'0' || u > u'9') return std::nullopt;  // other scripts' digits: no value to read
    value = value * 10 + (u - u'0');
    if (value > INT32_MAX) return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<Example> ReadExample(std::u16string_view text) {
  Example example;
  const std::size_t z = text.find_first_not_of(u'0');
  if (z == std::u16string_view::npos) {
    example.padded = true;
    example.width = text.size();
    return example;
  }
  if (!IsDigit(text[z])) return std::nullopt;
  std::size_t e = z;
  while (e < text.size() && IsDigit(text[e])) ++e;
  const std::optional<std::int32_t> value = NumberOf(text.substr(z, e - z));
  if (!value) return std::nullopt;
  example.padded = z > 0;
  example.width = e;
  example.start = *value;
  example.tail = text.substr(e);
  return example;
}

std::u16string NumberText(const Example& example, std::int64_t n) {
  std::u16string digits = FromUtf8(std::to_string(n));
  if (example.padded && digits.size() < example.width) digits.insert(0, example.width - digits.size(), u'0');
  return digits + example.tail;
}

}  // namespace

std::u16string_view NumberingMessage(NumberingResult result) {
  switch (result) {
    case NumberingResult::Done: return u"";
    case NumberingResult::NoBlock: return u"Please make a block selection first.";
    case NumberingResult::InvalidRange: return u"Invalid selection range.";
    case NumberingResult::EmptyExample: return u"Selection is empty.";
    case NumberingResult::NotANumber: return u"First selected item must be a number.";
    case NumberingResult::TooLong: return u"Generated number is too long for the selected width.";
  }
  return u"";
}

NumberingResult NumberSelection(NameEditor& editor, std::size_t* padded) {
  const BlockSelection s = editor.Selection();
  const std::int32_t c0 = std::min(s.startColumn, s.endColumn);
  const std::int32_t c1 = std::max(s.startColumn, s.endColumn);
  const std::int32_t l0 = std::min(s.startLine, s.endLine);
  const std::int32_t l1 = std::max(s.startLine, s.endLine);
  if (c0 == c1 || l0 == l1) return NumberingResult::NoBlock;
  if (l0 < 0 || static_cast<std::size_t>(l0) >= editor.LineCount()) return NumberingResult::InvalidRange;
  const std::u16string& first = editor.Names()[static_cast<std::size_t>(l0)].lineText;
  if (first.size() <= static_cast<std::size_t>(c0)) return NumberingResult::EmptyExample;
  const std::optional<Example> example =
      ReadExample(std::u16string_view(first).substr(static_cast<std::size_t>(c0), static_cast<std::size_t>(c1 - c0)));
  if (!example) return NumberingResult::NotANumber;
  if (example->padded && example->width > kMaxPaddedWidth) return NumberingResult::TooLong;

  editor.PushUndo();
  editor.DeleteSelection();
  const auto last = std::min(l1, static_cast<std::int32_t>(editor.LineCount()) - 1);
  std::int64_t n = example->start;
  if (padded) *padded = 0;
  for (std::int32_t line = l0; line <= last; ++line, ++n) {
    std::u16string text = editor.Names()[static_cast<std::size_t>(line)].lineText;
    if (text.size() < static_cast<std::size_t>(c0)) {
      text.resize(static_cast<std::size_t>(c0), u' ');
      if (padded) ++*padded;
    }
    // A number never goes between the halves of a pair.
    const std::size_t at = static_cast<std::size_t>(c0) + (SplitsSurrogatePair(text, static_cast<std::size_t>(c0)) ? 1 : 0);
    text.insert(at, NumberText(*example, n));
    editor.SetLineText(static_cast<std::size_t>(line), std::move(text));
  }
  editor.SetSelection({l0, l1, c0, c1}, {l1, c1});
  return NumberingResult::Done;
}

}  // namespace nomvarix
