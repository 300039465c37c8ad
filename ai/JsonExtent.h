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

/// Finds where the object or array a text starts with (after blanks) ends, reading the text as it
/// grows: each call is given the whole text so far and reads only what it has not read before.
/// Brackets are counted outside strings; a character after a backslash is taken literally, inside
/// strings and out.
class JsonEndScanner {
 public:
  JsonExtent Scan(std::string_view text);

 private:
  std::size_t next_ = 0;  ///< the first character not read yet
  bool started_ = false;
  bool inString_ = false;
  bool escaped_ = false;
  int objects_ = 0;
  int arrays_ = 0;
};

/// The extent of the value a whole text starts with.
///
///   FindJsonEnd(R"( {"a":"}"} rest)") is Found with length 10.
inline JsonExtent FindJsonEnd(std::string_view text) { return JsonEndScanner().Scan(text); }

}  // namespace nomvarix
