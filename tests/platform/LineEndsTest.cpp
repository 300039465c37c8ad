#include "platform/LineEnds.h"

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

TEST(LineEnds, ConvertBetweenCrLfAndLf) {
  EXPECT_EQ(ToLfLineEnds(u"a\r\nb\r\n"), u"a\nb\n");
  EXPECT_EQ(ToLfLineEnds(u"a\rb\n"), u"a\rb\n");  // lone CR and LF stay
  EXPECT_EQ(ToCrLfLineEnds(u"a\nb\r\nc\n"), u"a\r\nb\r\nc\r\n");
  EXPECT_EQ(ToCrLfLineEnds(u"\n"), u"\r\n");
  EXPECT_EQ(ToCrLfLineEnds(ToLfLineEnds(u"x\r\ny")), u"x\r\ny");
}

TEST(LineEnds, ConvertToCrLfPartByPartAsAWhole) {
  const std::u16string_view text = u"a\r\nb\nc\r\r\n\n";
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    std::u16string out;
    bool afterCr = false;
    AppendWithCrLfLineEnds(out, text.substr(0, cut), afterCr);
    AppendWithCrLfLineEnds(out, text.substr(cut), afterCr);
    EXPECT_EQ(out, ToCrLfLineEnds(text)) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace nomvarix
