#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "transform/RegexMatch.h"

namespace nomvarix {

/// A replacement text read once, before any line changes: literal text and references to groups.
///
/// $$ is one $. $0 and ${0} are the whole match; $1 to $99 and ${number} a numbered group, ${name}
/// a named one (with duplicate names, the first of them that took part in the match). Of $nn the
/// two digits count when the pattern has that many groups; otherwise only the first does, so $10
/// is group 1 and a 0 for a pattern with fewer than ten groups. Any other $ is refused: a lone $, an
/// unterminated ${, and a reference to a group the pattern does not have.
class RegexReplacement {
 public:
  /// Why a replacement was refused: what is wrong, and the unit where the reference starts.
  struct Error {
    std::u16string message;
    std::size_t position = 0;
  };
  /// The numbers of the groups called `name`, in the pattern's order; empty when there is none.
  using NamedGroups = std::function<std::vector<std::size_t>(std::u16string_view name)>;

  /// `replacement` for a pattern of `groupCount` groups (group 0 not counted).
  static std::variant<RegexReplacement, Error> Read(std::u16string_view replacement, std::size_t groupCount,
                                                    const NamedGroups& namedGroups);
  /// `text` as it stands, for plain-text replacing.
  static RegexReplacement Literal(std::u16string_view text);

  /// The text that replaces `match` of `line`; a group that took no part gives nothing. Groups are
  /// copied from `line` by position, unit for unit.
  std::u16string Expand(std::u16string_view line, const RegexMatch& match) const;

 private:
  /// Literal text, or (text empty) the first group of `groups` that took part.
  struct Piece {
    std::u16string text;
    std::vector<std::size_t> groups;
  };
  std::vector<Piece> pieces_;
};

/// "Invalid replacement: <message> at position <n>".
std::u16string InvalidReplacementMessage(const RegexReplacement::Error& error);

}  // namespace nomvarix
