#include "transform/RegexPattern.h"

#include <new>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// The most backtracking one search of a line may do. Patterns a user writes for names of a few
/// hundred units need from one to a few thousand steps even where they fail; one that backtracks
/// without end stops after some milliseconds a line (a few as machine code, some tens interpreted).
constexpr std::uint32_t kMatchLimit = 100'000;
/// The deepest nesting of backtracking points one search may reach, which bounds its memory (the
/// library's own default is as large as its match limit).
constexpr std::uint32_t kDepthLimit = 10'000;
/// The machine code's stack: it starts small and may grow to this.
constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;
constexpr PCRE2_SIZE kJitStackMax = 1024 * 1024;

PCRE2_SPTR Units(std::u16string_view text) { return reinterpret_cast<PCRE2_SPTR>(text.data()); }

std::u16string ErrorText(int code) {
  std::u16string text(256, u'\0');
  const int length = pcre2_get_error_message(code, reinterpret_cast<PCRE2_UCHAR*>(text.data()), text.size());
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

RegexFailure FailureOf(int result) {
  switch (result) {
    case PCRE2_ERROR_MATCHLIMIT:
      return RegexFailure::TooManySteps;
    case PCRE2_ERROR_DEPTHLIMIT:
    case PCRE2_ERROR_HEAPLIMIT:
    case PCRE2_ERROR_JIT_STACKLIMIT:
    case PCRE2_ERROR_NOMEMORY:
      return RegexFailure::TooDeep;
    default:
      return RegexFailure::Failed;
  }
}

/// Whether the unit at `i` is a surrogate without its other half: an undecodable byte of a name.
bool IsLoneSurrogate(std::u16string_view line, std::size_t i) {
  const char16_t unit = line[i];
  if (IsHighSurrogate(unit)) return i + 1 >= line.size() || !IsLowSurrogate(line[i + 1]);
  if (IsLowSurrogate(unit)) return i == 0 || !IsHighSurrogate(line[i - 1]);
  return false;
}

/// `line` as the library is given it: each lone surrogate becomes U+FFFD, one unit for one, so that
/// every position means the same in both. `buffer` holds the copy when one is needed.
std::u16string_view Searchable(std::u16string_view line, std::u16string& buffer) {
  std::size_t i = 0;
  while (i < line.size() && !IsLoneSurrogate(line, i)) ++i;
  if (i == line.size()) return line;
  buffer.assign(line);
  for (; i < buffer.size(); ++i) {
    if (IsLoneSurrogate(line, i)) buffer[i] = u'\uFFFD';
  }
  return buffer;
}

}  // namespace

void RegexPattern::Free::operator()(pcre2_real_code_16* code) const { pcre2_code_free(code); }
void RegexPattern::Free::operator()(pcre2_real_match_data_16* data) const { pcre2_match_data_free(data); }
void RegexPattern::Free::operator()(pcre2_real_match_context_16* context) const { pcre2_match_context_free(context); }
void RegexPattern::Free::operator()(pcre2_real_jit_stack_16* stack) const { pcre2_jit_stack_free(stack); }

std::variant<RegexPattern, RegexPattern::Error> RegexPattern::Compile(std::u16string_view pattern, bool matchCase,
                                                                      bool wholeWord) {
  std::uint32_t options = PCRE2_UTF | PCRE2_UCP;
  if (!matchCase) options |= PCRE2_CASELESS;
  const std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)> compileContext(
      pcre2_compile_context_create(nullptr), &pcre2_compile_context_free);
  if (!compileContext) throw std::bad_alloc();
  // The library puts the pattern between \b itself, which holds whatever the pattern holds
  // (an open \Q, a comment); wrapping its text could not.
  if (wholeWord) pcre2_set_compile_extra_options(compileContext.get(), PCRE2_EXTRA_MATCH_WORD);
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  RegexPattern regex;
  regex.code_.reset(
      pcre2_compile(Units(pattern), pattern.size(), options, &errorCode, &errorOffset, compileContext.get()));
  if (!regex.code_) return Error{ErrorText(errorCode), errorOffset};
  regex.matchData_.reset(pcre2_match_data_create_from_pattern(regex.code_.get(), nullptr));
  regex.context_.reset(pcre2_match_context_create(nullptr));
  if (!regex.matchData_ || !regex.context_) throw std::bad_alloc();
  pcre2_set_match_limit(regex.context_.get(), kMatchLimit);
  pcre2_set_depth_limit(regex.context_.get(), kDepthLimit);
  // Without machine code (a library built without it, memory that may not be executed) the
  // interpreter runs, under the same limits.
  if (pcre2_jit_compile(regex.code_.get(), PCRE2_JIT_COMPLETE) == 0) {
    regex.jitStack_.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
    if (regex.jitStack_) pcre2_jit_stack_assign(regex.context_.get(), nullptr, regex.jitStack_.get());
  }
  std::uint32_t groupCount = 0;
  pcre2_pattern_info(regex.code_.get(), PCRE2_INFO_CAPTURECOUNT, &groupCount);
  regex.groupCount_ = groupCount;
  return regex;
}

RegexFound RegexPattern::Match(std::u16string_view subject, std::size_t from, std::uint32_t options) const {
  pcre2_match_data* data = matchData_.get();
  const int result = pcre2_match(code_.get(), Units(subject), subject.size(), from, options, data, context_.get());
  if (result == PCRE2_ERROR_NOMATCH) return {};
  if (result < 0) return {std::nullopt, FailureOf(result)};
  const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(data);
  // \K in a look-ahead can end a match before its start: no substitution can use that.
  if (vector[1] < vector[0]) return {std::nullopt, RegexFailure::Failed};
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
  return {std::move(match), std::nullopt};
}

RegexFound RegexPattern::Find(std::u16string_view line, std::size_t from) const {
  if (from > line.size()) return {};
  // A start between the halves of a pair would match inside a character: start after it.
  if (SplitsSurrogatePair(line, from)) ++from;
  std::u16string buffer;
  return Match(Searchable(line, buffer), from, 0);
}

RegexMatches RegexPattern::FindAll(std::u16string_view line) const {
  std::u16string buffer;
  const std::u16string_view subject = Searchable(line, buffer);
  RegexMatches all;
  std::size_t from = 0;
  std::uint32_t options = 0;  // after an empty match: a match that is not empty, right there
  while (from <= subject.size()) {
    RegexFound found = Match(subject, from, options);
    if (found.failure) return {{}, found.failure};
    if (!found.match) {
      if (options == 0 || from == subject.size()) break;
      from = CharacterAt(subject, from).end;
      options = 0;
      continue;
    }
    from = found.match->end;
    options = found.match->start == found.match->end ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
    all.matches.push_back(std::move(*found.match));
  }
  return all;
}

std::vector<std::size_t> RegexPattern::GroupsNamed(std::u16string_view name) const {
  const std::u16string terminated(name);
  PCRE2_SPTR first = nullptr;
  PCRE2_SPTR last = nullptr;
  const int entrySize = pcre2_substring_nametable_scan(code_.get(), Units(terminated), &first, &last);
  if (entrySize <= 0) return {};
  // Each entry of the name table starts with its group's number.
  std::vector<std::size_t> groups;
  for (PCRE2_SPTR entry = first; entry <= last; entry += entrySize) groups.push_back(entry[0]);
  return groups;
}

std::variant<RegexReplacement, RegexReplacement::Error> RegexPattern::ReadReplacement(
    std::u16string_view replacement) const {
  return RegexReplacement::Read(replacement, groupCount_, [this](std::u16string_view name) { return GroupsNamed(name); });
}

std::u16string InvalidRegexMessage(const RegexPattern::Error& error) {
  return u"Invalid regular expression: " + error.message + u" at position " +
         FromUtf8(std::to_string(error.position));
}

}  // namespace nomvarix
