#include "ai/AnswerParsing.h"

#include <cstdint>
#include <optional>

#include <nlohmann/json.hpp>

#include "ai/BoundedJson.h"
#include "ai/JsonExtent.h"
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

/// The pairs of the JSON values in the answer: each "{" or "[" starts a candidate; one that parses
/// is taken whole, one that does not is looked into for smaller values.
std::vector<RenamePair> JsonPairs(std::string_view answer) {
  std::vector<RenamePair> pairs;
  for (std::size_t at = answer.find_first_of("{["); at != std::string_view::npos;
       at = answer.find_first_of("{[", at + 1)) {
    const JsonExtent extent = FindJsonEnd(answer.substr(at));
    if (extent.kind != JsonExtent::Kind::Found) continue;
    const nlohmann::json value = ParseBoundedJson(WithoutTrailingCommas(answer.substr(at, extent.length)), false);
    if (value.is_discarded()) continue;
    CollectPairs(value, pairs);
    at += extent.length - 1;
  }
  return pairs;
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
  if (!pairs.empty()) return pairs;
  return ScanAnswer(DecodeUnicodeEscapes(answer));
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
  while (true) {
    const std::size_t brace = text.find(u'{');
    if (brace == std::u16string_view::npos) break;
    text.remove_prefix(brace);
    const std::size_t original = text.find(u"original");
    if (original == std::u16string_view::npos || text.find(u"renamed") == std::u16string_view::npos) break;
    text.remove_prefix(original);
    const std::size_t before = text.size();
    RenamePair pair;
    pair.original = ExtractValue(text, u":", u",");
    pair.renamed = ExtractValue(text, u":", u",");
    if (!pair.original.empty() && !pair.renamed.empty()) pairs.push_back(std::move(pair));
    // A scan that consumed nothing would find the same "original" again.
    if (text.size() == before) text.remove_prefix(1);
  }
  return pairs;
}

std::u16string ListParsedPairs(const std::vector<std::vector<RenamePair>>& groups) {
  std::u16string listing;
  for (const auto& group : groups) {
    for (const RenamePair& pair : group) listing += pair.original + u", " + pair.renamed + u"\r\n";
  }
  return listing;
}

}  // namespace nomvarix
