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

}  // namespace
}  // namespace nomvarix
