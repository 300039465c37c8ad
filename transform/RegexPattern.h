#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "transform/RegexMatch.h"
#include "transform/RegexReplacement.h"

struct pcre2_real_code_16;
struct pcre2_real_match_data_16;
struct pcre2_real_match_context_16;
struct pcre2_real_jit_stack_16;

namespace nomvarix {

/// A regular expression compiled once (and translated to machine code where the library can) and
/// matched on UTF-16 lines. \w, \d and caseless matching follow Unicode. An undecodable byte of a
/// name (a lone surrogate) is one character that is no letter, digit or white space: `.` and
/// `[^a-z]` match it, and it is the character U+FFFD for the pattern, which is how `\x{FFFD}` finds
/// it; matches are positions in the line itself, so a group copies the byte back unchanged.
///
/// Each search of a line stops at a match limit and a depth limit, so that a pattern that
/// backtracks without end costs a bounded time per line; a line where it stops is reported as a
/// failure, never as a line without a match.
class RegexPattern {
 public:
  /// Why a pattern did not compile: the library's message and the unit where it stopped.
  struct Error {
    std::u16string message;
    std::size_t position = 0;
  };

  /// With `wholeWord` a match must start and end at a word boundary, as if the pattern stood
  /// between two \b.
  static std::variant<RegexPattern, Error> Compile(std::u16string_view pattern, bool matchCase,
                                                   bool wholeWord = false);

  /// The first match that starts at or after `from` in `line`, which is searched whole, so that
  /// ^, \b and look-behinds see what stands before `from`. Nothing when none matches or `from` lies
  /// beyond the end.
  RegexFound Find(std::u16string_view line, std::size_t from) const;
  /// The matches a global substitution replaces, all found in `line` as it is: after a match the
  /// search goes on at its end; after an empty match, a match that is not empty is tried at the
  /// same place first, and then the search goes on one character further.
  RegexMatches FindAll(std::u16string_view line) const;

  /// Reads `replacement` against this pattern's groups.
  std::variant<RegexReplacement, RegexReplacement::Error> ReadReplacement(std::u16string_view replacement) const;

 private:
  /// Frees what the library made.
  struct Free {
    void operator()(pcre2_real_code_16* code) const;
    void operator()(pcre2_real_match_data_16* data) const;
    void operator()(pcre2_real_match_context_16* context) const;
    void operator()(pcre2_real_jit_stack_16* stack) const;
  };
  using Code = std::unique_ptr<pcre2_real_code_16, Free>;
  using MatchData = std::unique_ptr<pcre2_real_match_data_16, Free>;
  using MatchContext = std::unique_ptr<pcre2_real_match_context_16, Free>;
  using JitStack = std::unique_ptr<pcre2_real_jit_stack_16, Free>;

  RegexPattern() = default;
  /// One match at or after `from` in `subject` (lone surrogates already replaced) with the
  /// library's match `options`.
  RegexFound Match(std::u16string_view subject, std::size_t from, std::uint32_t options) const;
  /// The numbers of the groups called `name`.
  std::vector<std::size_t> GroupsNamed(std::u16string_view name) const;

  Code code_;
  /// Where a search has the library put a match: made once with the pattern, as a search over
  /// every line would otherwise make and free it once a line. A pattern serves one search at a time.
  MatchData matchData_;
  MatchContext context_;  ///< the limits, and the machine code's stack
  JitStack jitStack_;     ///< only when the pattern runs as machine code
  std::size_t groupCount_ = 0;  ///< capture groups, group 0 not counted
};

/// "Invalid regular expression: <message> at position <n>".
std::u16string InvalidRegexMessage(const RegexPattern::Error& error);

}  // namespace nomvarix
