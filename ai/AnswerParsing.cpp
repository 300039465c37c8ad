#include "ai/AnswerParsing.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>

#include <nlohmann/json.hpp>

#include "ai/BoundedJson.h"
#include "ai/Utf8Cleaning.h"

#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/// The hexadecimal number at the start of the four characters, as the standard conversion reads
/// it (leading blanks, a sign, a "0x"); empty when no digit is read.
std::optional<std::uint32_t> HexNumber(std::string_view four) {
  std::size_t i = 0;
  while (i < four.size() && (four[i] == ' ' || four[i] == '\t')) ++i;
  bool negative = false;
  if (i < four.size() && (four[i] == '+' || four[i] == '-')) negative = four[i++] == '-';
  if (i + 1 < four.size() && four[i] == '0' && (four[i + 1] == 'x' || four[i + 1] == 'X') && i + 2 < four.size() &&
      HexValue(four[i + 2]) >= 0) {
    i += 2;
  }
  std::uint32_t value = 0;
  bool any = false;
  for (; i < four.size() && HexValue(four[i]) >= 0; ++i) {
    value = value * 16 + static_cast<std::uint32_t>(HexValue(four[i]));
    any = true;
  }
  if (!any) return std::nullopt;
  return negative ? 0u - value : value;
}

/// The JSON text without commas that stand right before a closing bracket (outside strings), a
/// habit of models that copy the request's layout.
std::string WithoutTrailingCommas(std::string_view json) {
  std::string text;
  text.reserve(json.size());
  bool inString = false;
  bool escaped = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (escaped) {
      escaped = false;
    } else if (inString) {
      escaped = c == '\\';
      if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == ',') {
      const std::size_t next = json.find_first_not_of(" \t\r\n", i + 1);
      if (next != std::string_view::npos && (json[next] == '}' || json[next] == ']')) continue;
    }
    text.push_back(c);
  }
  return text;
}

/// Adds the pairs of every object below `value` that has both names, in document order.
void CollectPairs(const nlohmann::json& value, std::vector<RenamePair>& pairs) {
  if (value.is_array()) {
    for (const auto& element : value) CollectPairs(element, pairs);
    return;
  }
  if (!value.is_object()) return;
  const auto original = value.find("original");
  const auto renamed = value.find("renamed");
  if (original != value.end() && renamed != value.end()) {
    if (original->is_string() && renamed->is_string() && !original->get_ref<const std::string&>().empty() &&
        !renamed->get_ref<const std::string&>().empty()) {
      pairs.push_back({FromUtf8(original->get_ref<const std::string&>()), FromUtf8(renamed->get_ref<const std::string&>())});
    }
    return;
  }
  for (const auto& member : value) CollectPairs(member, pairs);
}

/// An object or array of the answer: where it opens, just past where it closes, and how deep it
/// nests (1 for one without brackets inside).
struct BracketedValue {
  std::size_t open = 0;
  std::size_t end = 0;
  int depth = 1;
};

/// Every object and array whose brackets match, in the order they open, found in one pass. Brackets
/// count outside strings; a string also ends at a line end (JSON strings hold no raw line break,
/// and a lone quote in prose must not hide the list after it); a bracket that closes the wrong kind
/// ends every bracket still open.
std::vector<BracketedValue> BracketedValues(std::string_view text) {
  struct Open {
    std::size_t at;
    int innerDepth;
  };
  std::vector<Open> open;
  std::vector<BracketedValue> values;
  bool inString = false;
  bool escaped = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"' || c == '\n') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      open.push_back({i, 0});
    } else if ((c == '}' || c == ']') && !open.empty()) {
      if (text[open.back().at] != (c == '}' ? '{' : '[')) {
        open.clear();
        continue;
      }
      const BracketedValue value{open.back().at, i + 1, open.back().innerDepth + 1};
      open.pop_back();
      if (!open.empty()) open.back().innerDepth = std::max(open.back().innerDepth, value.depth);
      values.push_back(value);
    }
  }
  std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) { return a.open < b.open; });
  return values;
}

/// The pairs of the JSON values in the answer: an object or array that parses is taken whole; one
/// that does not is looked into for smaller values. One nested deeper than the parser reads is not
/// tried, so no part of the answer is parsed more than kMaxJsonDepth times.
std::vector<RenamePair> JsonPairs(std::string_view answer) {
  std::vector<RenamePair> pairs;
  std::size_t taken = 0;  // the answer up to here was read as a value
  for (const BracketedValue& candidate : BracketedValues(answer)) {
    if (candidate.open < taken || candidate.depth > kMaxJsonDepth) continue;
    const nlohmann::json value =
        ParseBoundedJson(WithoutTrailingCommas(answer.substr(candidate.open, candidate.end - candidate.open)), false);
    if (value.is_discarded()) continue;
    CollectPairs(value, pairs);
    taken = candidate.end;
  }
  return pairs;
}

/// Code points a new name must not hold, both ends included: controls, line and paragraph
/// separators, every format character (they are invisible, reorder text or hide it: soft hyphen,
/// zero-width spaces and joiners, direction marks and overrides, the byte-order mark, annotation
/// marks, tags), the Hangul fillers that show as blank space, and U+FFFD, which stands for bytes of
/// the answer that were not text.
constexpr std::pair<char32_t, char32_t> kUnsafeRanges[] = {
    {0x0000, 0x001F},   {0x007F, 0x009F},   {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},
    {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x115F, 0x1160},
    {0x180E, 0x180E},   {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0x3164, 0x3164},   {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0},   {0xFFF9, 0xFFFB},   {0xFFFD, 0xFFFD},
    {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
    {0xE0000, 0xE007F},
};

bool IsUnsafeCodePoint(char32_t c) {
  return std::any_of(std::begin(kUnsafeRanges), std::end(kUnsafeRanges),
                     [c](const auto& range) { return c >= range.first && c <= range.second; });
}

bool IsUnsafeName(std::u16string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t u = name[i];
    if (IsHighSurrogate(u) && i + 1 < name.size() && IsLowSurrogate(name[i + 1])) {
      const char32_t c = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (name[i + 1] - 0xDC00);
      if (IsUnsafeCodePoint(c)) return true;
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u) || IsUnsafeCodePoint(u)) {
      return true;
    }
  }
  return false;
}

/// The pairs with their new names trimmed, those left empty dropped, and the unsafe ones refused.
std::vector<RenamePair> CheckedNames(std::vector<RenamePair> pairs) {
  std::vector<RenamePair> checked;
  for (RenamePair& pair : pairs) {
    pair.renamed = std::u16string(TrimmedWhiteSpace(pair.renamed));
    if (pair.renamed.empty()) continue;
    if (IsUnsafeName(pair.renamed)) pair.refusal = Refusal::UnsafeName;
    checked.push_back(std::move(pair));
  }
  return checked;
}

std::u16string_view RefusalText(Refusal refusal) {
  switch (refusal) {
    case Refusal::UnsafeName:
      return u": not renamed, the new name holds a control, invisible or text-direction character, or bytes that are not text";
    case Refusal::SharedOriginal:
      return u": not renamed, two files were sent under this name";
    case Refusal::None:
      break;
  }
  return {};
}

bool IsCut(char16_t u) { return u == u'\n' || u == u'\r' || u == u'}' || u == u'{' || u == u'['; }

}  // namespace

std::u16string DecodeUnicodeEscapes(std::string_view answer) {
  std::u16string text;
  std::string plain;  // bytes between escapes, decoded together as UTF-8
  const auto flush = [&] {
    AppendFromUtf8(text, plain);
    plain.clear();
  };
  for (std::size_t i = 0; i < answer.size();) {
    if (i + 5 < answer.size() && answer[i] == '\\' && answer[i + 1] == 'u') {
      if (const auto value = HexNumber(answer.substr(i + 2, 4))) {
        flush();
        text.push_back(static_cast<char16_t>(*value & 0xFFFF));
        i += 6;
        continue;
      }
    }
    plain.push_back(answer[i++]);
  }
  flush();
  return text;
}

std::vector<RenamePair> ParseAnswer(std::string_view answer) {
  std::vector<RenamePair> pairs = JsonPairs(AsValidUtf8(answer));
  if (pairs.empty()) pairs = ScanAnswer(DecodeUnicodeEscapes(answer));
  return CheckedNames(std::move(pairs));
}

std::u16string ExtractValue(std::u16string_view& text, std::u16string_view key, std::u16string_view terminator) {
  const std::size_t at = text.find(key);
  if (at == std::u16string_view::npos) return {};
  const std::size_t end = text.find(terminator, at + key.size());
  if (end == std::u16string_view::npos) return {};
  std::u16string value;
  for (const char16_t u : text.substr(at + key.size(), end - at - key.size())) {
    if (!IsCut(u)) value.push_back(u);
  }
  std::u16string_view view = TrimmedWhiteSpace(value);
  while (!view.empty() && view.front() == u'"') view.remove_prefix(1);
  while (!view.empty() && view.back() == u'"') view.remove_suffix(1);
  view = TrimmedWhiteSpace(view);
  text.remove_prefix(end + terminator.size());
  return std::u16string(view);
}

std::vector<RenamePair> ScanAnswer(std::u16string_view answer) {
  std::vector<RenamePair> pairs;
  const std::size_t bracket = answer.find(u'[');
  if (bracket == std::u16string_view::npos) return pairs;
  std::u16string_view text = answer.substr(bracket);
  // Where the next "renamed" stands, counted from the answer's end: it is looked for again only once
  // the scan has passed it.
  std::size_t renamedFromEnd = text.size() + 1;
  while (true) {
    const std::size_t brace = text.find(u'{');
    if (brace == std::u16string_view::npos) break;
    text.remove_prefix(brace);
    const std::size_t original = text.find(u"original");
    if (original == std::u16string_view::npos) break;
    if (renamedFromEnd > text.size()) {
      const std::size_t renamed = text.find(u"renamed");
      if (renamed == std::u16string_view::npos) break;
      renamedFromEnd = text.size() - renamed;
    }
    text.remove_prefix(original);
    RenamePair pair;
    for (std::u16string* value : {&pair.original, &pair.renamed}) {
      const std::size_t before = text.size();
      *value = ExtractValue(text, u":", u",");
      // No colon with a comma after it is left: no later value can be read either.
      if (text.size() == before) return pairs;
    }
    if (!pair.original.empty() && !pair.renamed.empty()) pairs.push_back(std::move(pair));
  }
  return pairs;
}

std::u16string ListParsedPairs(const std::vector<std::vector<RenamePair>>& groups, std::size_t maxLines) {
  std::u16string listing;
  std::size_t lines = 0;
  std::size_t more = 0;
  for (const auto& group : groups) {
    if (lines == maxLines) {
      more += group.size();
      continue;
    }
    for (const RenamePair& pair : group) {
      if (lines == maxLines) {
        ++more;
        continue;
      }
      ++lines;
      listing += pair.original;
      if (pair.IsRefused()) {
        listing += RefusalText(pair.refusal);
      } else {
        listing += u", ";
        listing += pair.renamed;
      }
      listing += u"\r\n";
    }
  }
  if (more > 0) listing += u"\u2026 and " + FromUtf8(std::to_string(more)) + u" more\r\n";
  return listing;
}

}  // namespace nomvarix
