#pragma once

#include <cstddef>
#include <optional>
#include <vector>

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

/// Why a line could not be searched to its end. The search of such a line proves nothing: there
/// may be a match the library gave up looking for.
enum class RegexFailure {
  TooManySteps,  ///< the pattern backtracked more than the match limit allows on this line
  TooDeep,       ///< the pattern nested deeper than the depth, memory or stack limit allows
  Failed,        ///< any other error of the library
};

/// What searching a line found: a match, or nothing, or a failure.
struct RegexFound {
  std::optional<RegexMatch> match;
  std::optional<RegexFailure> failure;
};

/// Every match a global substitution replaces in a line, left to right, or the failure that kept
/// the line from being searched (then no matches).
struct RegexMatches {
  std::vector<RegexMatch> matches;
  std::optional<RegexFailure> failure;
};

}  // namespace nomvarix
