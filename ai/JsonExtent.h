#pragma once

#include <cstddef>
#include <string_view>

namespace nomvarix {

/// How far a JSON value reaches in a text that may hold more after it.
struct JsonExtent {
  enum class Kind {
    Found,       ///< the value ends at `length`
    Incomplete,  ///< the text ends inside the value; more text may complete it
    NotJson,     ///< the first non-blank character is not "{" or "[", or a bracket closes too often
  } kind = Kind::NotJson;
  std::size_t length = 0;  ///< with Found: the index just after the value's closing bracket
};

/// Finds where the object or array a text starts with (after blanks) ends. Brackets are counted
/// outside strings; a character after a backslash is taken literally, inside strings and out.
///
///   FindJsonEnd(R"( {"a":"}"} rest)") is Found with length 10.
JsonExtent FindJsonEnd(std::string_view text);

}  // namespace nomvarix
