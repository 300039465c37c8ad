#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct pcre2_real_code_16;
struct pcre2_real_match_data_16;

namespace nomvarix {

/// One match of a pattern in a line: the units [start, end) and, for each capture group
/// (group 0 is the whole match), its units, or nothing when the group took no part.
struct RegexMatch {
  struct Group {
    std::size_t start;
    std::size_t end;
  };
  std::size_t start = 0;
  std::size_t end = 0;
  std::vector<std::optional<Group>> groups;
};

/// A regular expression compiled once and matched on UTF-16 lines. Lone surrogates (the
/// undecodable bytes of names) match nothing but never make a match fail, and \w, \d and caseless
/// matching follow Unicode.
class RegexPattern {
 public:
  /// Why a pattern did not compile: the library's message and the unit where it stopped.
  struct Error {
    std::u16string message;
    std::size_t position = 0;
  };

  static std::variant<RegexPattern, Error> Compile(std::u16string_view pattern, bool matchCase);

  /// The first match that starts at or after `from` in `line`, which is searched whole, so that
  /// ^, \b and look-behinds see what stands before `from`. Nothing when none matches or `from` lies
  /// beyond the end.
  std::optional<RegexMatch> Find(std::u16string_view line, std::size_t from) const;

  /// The replacement for `match` in `line`: $1 to $99 and ${name} (or ${number}) stand for the
  /// group's text (empty when it took no part), $$ for one $; everything else is literal, also a $
  /// that names no group of the pattern. Of $nn the two digits count when the pattern has that
  /// many groups; otherwise only the first does, so $10 is group 1 and a 0 for a pattern with fewer
  /// than ten groups.
  std::u16string Expand(std::u16string_view replacement, std::u16string_view line, const RegexMatch& match) const;

 private:
  struct CodeDeleter {
    void operator()(pcre2_real_code_16* code) const;
  };
  struct MatchDataDeleter {
    void operator()(pcre2_real_match_data_16* data) const;
  };
  using Code = std::unique_ptr<pcre2_real_code_16, CodeDeleter>;
  using MatchData = std::unique_ptr<pcre2_real_match_data_16, MatchDataDeleter>;

  RegexPattern(Code code, MatchData matchData, std::size_t groupCount)
      : code_(std::move(code)), matchData_(std::move(matchData)), groupCount_(groupCount) {}
  /// The group a reference names; nothing when the pattern has no such group.
  std::optional<std::size_t> GroupNumber(std::u16string_view name) const;

  Code code_;
  /// Where Find has the library put a match: made once with the pattern, as a search over every
  /// line would otherwise make and free it once a line. A pattern serves one search at a time.
  MatchData matchData_;
  std::size_t groupCount_;  ///< capture groups, group 0 not counted
};

/// "Invalid regular expression: <message> at position <n>".
std::u16string InvalidRegexMessage(const RegexPattern::Error& error);

}  // namespace nomvarix
