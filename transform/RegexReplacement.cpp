#include "transform/RegexReplacement.h"

#include <algorithm>

#include "text/AsciiCase.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

std::size_t Number(std::u16string_view digits) {
  std::size_t number = 0;
  for (const char16_t digit : digits) number = number * 10 + static_cast<std::size_t>(digit - u'0');
  return number;
}

bool AllDigits(std::u16string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

}  // namespace

std::variant<RegexReplacement, RegexReplacement::Error> RegexReplacement::Read(std::u16string_view replacement,
                                                                               std::size_t groupCount,
                                                                               const NamedGroups& namedGroups) {
  RegexReplacement read;
  const auto literal = [&](std::u16string_view text) {
    if (read.pieces_.empty() || read.pieces_.back().text.empty()) read.pieces_.push_back({});
    read.pieces_.back().text += text;
  };
  const auto group = [&](std::vector<std::size_t> numbers) { read.pieces_.push_back({{}, std::move(numbers)}); };
  std::size_t i = 0;
  while (i < replacement.size()) {
    const std::u16string_view rest = replacement.substr(i);
    if (rest[0] != u'$') {
      const std::size_t next = rest.find(u'$');
      literal(rest.substr(0, next));
      if (next == std::u16string_view::npos) break;
      i += next;
      continue;
    }
    if (rest.starts_with(u"$$")) {
      literal(u"$");
      i += 2;
    } else if (rest.starts_with(u"${")) {
      const std::size_t close = rest.find(u'}');
      if (close == std::u16string_view::npos) return Error{u"\"${\" without a closing \"}\"", i};
      const std::u16string_view name = rest.substr(2, close - 2);
      std::vector<std::size_t> numbers;
      if (AllDigits(name)) {
        if (name.size() <= 2 && Number(name) <= groupCount) numbers.push_back(Number(name));
      } else if (!name.empty()) {
        numbers = namedGroups(name);
      }
      if (numbers.empty()) return Error{u"the pattern has no group \"" + std::u16string(name) + u"\"", i};
      group(std::move(numbers));
      i += close + 1;
    } else if (rest.size() >= 2 && IsAsciiDigit(rest[1])) {
      // The two digits of $nn when the pattern has that many groups, else the first alone.
      const bool twoDigits = rest.size() >= 3 && IsAsciiDigit(rest[2]) && Number(rest.substr(1, 2)) <= groupCount;
      const std::u16string_view digits = rest.substr(1, twoDigits ? 2 : 1);
      if (Number(digits) > groupCount) return Error{u"the pattern has no group " + std::u16string(digits), i};
      group({Number(digits)});
      i += 1 + digits.size();
    } else {
      return Error{u"\"$\" names no group (write $$ for a dollar sign)", i};
    }
  }
  return read;
}

RegexReplacement RegexReplacement::Literal(std::u16string_view text) {
  RegexReplacement literal;
  literal.pieces_.push_back({std::u16string(text), {}});
  return literal;
}

std::u16string RegexReplacement::Expand(std::u16string_view line, const RegexMatch& match) const {
  std::u16string out;
  for (const Piece& piece : pieces_) {
    out += piece.text;
    for (const std::size_t number : piece.groups) {
      if (number < match.groups.size() && match.groups[number]) {
        const RegexMatch::Group& g = *match.groups[number];
        out += line.substr(g.start, g.end - g.start);
        break;
      }
    }
  }
  return out;
}

std::u16string InvalidReplacementMessage(const RegexReplacement::Error& error) {
  return u"Invalid replacement: " + error.message + u" at position " + FromUtf8(std::to_string(error.position));
}

}  // namespace nomvarix
