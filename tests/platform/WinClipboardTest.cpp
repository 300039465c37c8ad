#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

#include "platform/Clipboard.h"

namespace nomvarix {
namespace {

TEST(WinClipboard, KeepsTextAndLineEndsExactlyAsWritten) {
  auto clipboard = MakeWin32Clipboard();
  const std::u16string text = u"a\r\nb\nc\r\u00E9\U0001F4F7";
  ASSERT_TRUE(clipboard->WriteText(text));
  EXPECT_TRUE(clipboard->HasText());
  EXPECT_EQ(clipboard->ReadText(), text);
}

TEST(WinClipboard, ReadsAnsiTextWhenThereIsNoUnicodeText) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  const char ansi[] = "plain\r\ntext";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof ansi);
  std::memcpy(GlobalLock(memory), ansi, sizeof ansi);
  GlobalUnlock(memory);
  ASSERT_NE(SetClipboardData(CF_TEXT, memory), nullptr);
  CloseClipboard();
  EXPECT_EQ(MakeWin32Clipboard()->ReadText(), u"plain\r\ntext");

  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_FALSE(MakeWin32Clipboard()->HasText());
  EXPECT_FALSE(MakeWin32Clipboard()->ReadText().has_value());
}

}  // namespace
}  // namespace nomvarix
