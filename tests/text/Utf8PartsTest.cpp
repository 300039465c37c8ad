#include "text/Utf8Parts.h"

#include <string>

#include <gtest/gtest.h>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

// Whatever the size of the parts, they join into the text decoded whole: no character is split,
// and a byte that is no part of a character is escaped as it is in the whole text.
TEST(Utf8Parts, JoinIntoTheWholeTextWhateverThePartSize) {
  const std::string texts[] = {
      "plain ascii",
      "D\xC3\xA4" "cher \xE6\x97\xA5\xE8\xA8\x98 \xF0\x9F\x98\x80 \xC3\x9F",
      "\xE2\x82" "A truncated, then \xF0\x9F\x98",  // sequences cut short, one at the very end
      "\x80\x80\x80\x80\x80\x80 stray continuation bytes",
      "\xF0\x90\x80\x80\x80\x80 a sequence followed by strays",
      "\xC0\xAF overlong \xED\xA0\x80 encoded surrogate \xFF\xFE",
  };
  for (const std::string& text : texts) {
    const std::u16string whole = FromUtf8(text);
    for (std::size_t partBytes = 1; partBytes <= 9; ++partBytes) {
      std::u16string joined;
      std::size_t parts = 0;
      ForEachUtf16Part(text, partBytes, [&](std::u16string_view part) {
        joined += part;
        ++parts;
      });
      EXPECT_EQ(joined, whole) << text << " in parts of " << partBytes;
      EXPECT_GE(parts, text.size() / (partBytes + 3)) << "parts stay small";
    }
  }
}

}  // namespace
}  // namespace nomvarix
