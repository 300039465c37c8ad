#include "transform/RegexPattern.h"

#include <algorithm>
#include <new>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "text/AsciiCase.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

PCRE2_SPTR Units(std::u16string_view text) { return reinterpret_cast<PCRE2_SPTR>(text.data()); }

std::u16string ErrorText(int code) {
  std::u16string text(256, u'\0');
  const int length = pcre2_get_error_message(code, reinterpret_cast<PCRE2_UCHAR*>(text.data()), text.size());
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

}  // namespace

void RegexPattern::CodeDeleter::operator()(pcre2_real_code_16* code) const { pcre2_code_free(code); }
void RegexPattern::MatchDataDeleter::operator()(pcre2_real_match_data_16* data) const { pcre2_match_data_free(data); }

std::variant<RegexPattern, RegexPattern::Error> RegexPattern::Compile(std::u16string_view pattern, bool matchCase) {
  // MATCH_INVALID_UTF: a lone surrogate is a character nothing matches, not an error.
  std::uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_UCP;
  if (!matchCase) options |= PCRE2_CASELESS;
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  Code code(pcre2_compile(Units(pattern), pattern.size(), options, &errorCode, &errorOffset, nullptr));
  if (!code) return Error{ErrorText(errorCode), errorOffset};
  MatchData matchData(pcre2_match_data_create_from_pattern(code.get(), nullptr));
  if (!matchData) throw std::bad_alloc();
  std::uint32_t groupCount = 0;
  pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &groupCount);
  return RegexPattern(std::move(code), std::move(matchData), groupCount);
}

std::optional<RegexMatch> RegexPattern::Find(std::u16string_view line, std::size_t from) const {
  if (from > line.size()) return std::nullopt;
  // A start between the halves of a pair would match inside a character: start after it.
  if (SplitsSurrogatePair(line, from)) ++from;
  pcre2_match_data* data = matchData_.get();
  // Any failure, such as a pattern that backtracks past the library's limit, counts as no match.
  const int result = pcre2_match(code_.get(), Units(line), line.size(), from, 0, data, nullptr);
  if (result <= 0) return std::nullopt;
  const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(data);
  RegexMatch match;
  match.start = vector[0];
  match.end = vector[1];
  const std::uint32_t pairs = pcre2_get_ovector_count(data);
  for (std::uint32_t i = 0; i < pairs; ++i) {
    const PCRE2_SIZE start = vector[2 * i];
    if (start == PCRE2_UNSET) {
      match.groups.emplace_back();
    } else {
      match.groups.push_back(RegexMatch::Group{start, vector[2 * i + 1]});
    }
  }
  return match;
}

std::optional<std::size_t> RegexPattern::GroupNumber(std::u16string_view name) const {
  if (!name.empty() && std::all_of(name.begin(), name.end(), IsAsciiDigit)) {
    if (name.size() > 2) return std::nullopt;
    std::size_t number = 0;
    for (const char16_t digit : name) number = number * 10 + static_cast<std::size_t>(digit - u'0');
    return number >= 1 && number <= groupCount_ ? std::optional(number) : std::nullopt;
  }
  const std::u16string terminated(name);
  const int number = pcre2_substring_number_from_name(code_.get(), Units(terminated));
  return number > 0 ? std::optional(static_cast<std::size_t>(number)) : std::nullopt;
}

std::u16string RegexPattern::Expand(std::u16string_view replacement, std::u16string_view line,
                                    const RegexMatch& match) const {
  std::u16string out;
  const auto groupText = [&](std::size_t number) {
    if (number < match.groups.size() && match.groups[number]) {
      out.append(line.substr(match.groups[number]->start, match.groups[number]->end - match.groups[number]->start));
    }
  };
  std::size_t i = 0;
  while (i < replacement.size()) {
    const std::u16string_view rest = replacement.substr(i);
    if (rest.starts_with(u"$$")) {
      out += u'$';
      i += 2;
      continue;
    }
    if (rest.starts_with(u"${")) {
      const std::size_t close = rest.find(u'}');
      if (close != std::u16string_view::npos) {
        if (const auto number = GroupNumber(rest.substr(2, close - 2))) {
          groupText(*number);
          i += close + 1;
          continue;
        }
      }
    } else if (rest.size() >= 2 && rest[0] == u'$' && IsAsciiDigit(rest[1])) {
      // The longest of $nn and $n that names a group.
      const std::size_t digits = rest.size() >= 3 && IsAsciiDigit(rest[2]) ? 2 : 1;
      std::size_t used = digits;
      std::optional<std::size_t> number = GroupNumber(rest.substr(1, used));
      if (!number && used == 2) {
        used = 1;
        number = GroupNumber(rest.substr(1, used));
      }
      if (number) {
        groupText(*number);
        i += 1 + used;
        continue;
      }
    }
    out += replacement[i++];
  }
  return out;
}

std::u16string InvalidRegexMessage(const RegexPattern::Error& error) {
  return u"Invalid regular expression: " + error.message + u" at position " +
         FromUtf8(std::to_string(error.position));
}

}  // namespace nomvarix
