#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/NameEditor.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"

namespace nomvarix::test {

/// An editor over given lines (names in sorted order, so that line i is lines[i]), with helpers
/// that place a caret or a block the way the keys and the mouse do.
class EditorFixture : public ::testing::Test {
 public:
  using Lines = std::vector<std::u16string>;

 protected:
  void Load(const Lines& lines) {
    fs.AddFolder(u"/f/", lines);
    ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", SortOrder{false, true}));
    ASSERT_EQ(LineTexts(editor.Names()), lines) << "give the lines in sorted order";
  }
  void Caret(std::int32_t line, std::int32_t column) { editor.SetSelection({line, line, column, column}, {line, column}); }
  /// Lines first..last, columns [from, to), the caret at the bottom right corner.
  void Block(std::int32_t first, std::int32_t last, std::int32_t from, std::int32_t to) {
    editor.SetSelection({first, last, from, to}, {last, to});
  }
  void Type(std::u16string_view text) {
    for (char16_t ch : text) editor.TypeChar(ch);
  }
  Lines Texts() const { return LineTexts(editor.Names()); }
  BlockSelection Selection() const { return editor.Selection(); }

  FakeFileSystem fs;
  NameEditor editor;
};

}  // namespace nomvarix::test
