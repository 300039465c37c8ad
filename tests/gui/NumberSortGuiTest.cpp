// "Sort Numbers by Value" from the Settings menu, with edits typed before it.
#include <gtest/gtest.h>
#include <wx/menu.h>

#include "EditorGuiFixture.h"
#include "resources/CommandIds.h"
#include "MenuCommands.h"
#include "support/NameListText.h"
#include "tree/FolderTreeView.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

class NumberSortGuiTest : public EditorGuiFixture {
 protected:
  void Issue(int command) { IssueMenuCommand(*frame, command); }

  std::pair<bool, bool> MenuState(int command) { return MenuItemState(*frame, command); }

  bool SettingsHold(const char* text) const {
    return GuiTestEnvironment::Get().SettingsText().find(text) != std::string::npos;
  }
};

TEST_F(NumberSortGuiTest, TheCheckItemStoresTheSettingAndReordersKeepingTheEdits) {
  OpenFolderWith({"IMG10.jpg", "IMG2.jpg", "IMG1.jpg", "\xE6\x97\xA5\xE8\xA8\x98_0010.jpg",
                  "\xE6\x97\xA5\xE8\xA8\x98_009.jpg"});
  const std::u16string diary = u"\u65E5\u8A18_";
  EXPECT_EQ(OriginalNames(Editor().Names()),
            (Names{u"IMG1.jpg", u"IMG10.jpg", u"IMG2.jpg", diary + u"0010.jpg", diary + u"009.jpg"}));
  EXPECT_EQ(MenuState(cmd::kSortNumbersByValue), std::pair(true, false));
  EXPECT_FALSE(SettingsHold("SortNumbersByValue"));

  ClickAt(CellPoint(1, 0));
  TypeText("x");
  ASSERT_TRUE(PumpUntil([&] { return Editor().Names()[1].newName == u"xIMG10.jpg"; }));

  const wxMenuItem* item = frame->GetMenuBar()->FindItem(cmd::MenuIdOf(cmd::kSortNumbersByValue));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetItemLabelText(), "Sort Numbers by Value");
  Issue(cmd::kSortNumbersByValue);
  EXPECT_EQ(OriginalNames(Editor().Names()),
            (Names{u"IMG1.jpg", u"IMG2.jpg", u"IMG10.jpg", diary + u"009.jpg", diary + u"0010.jpg"}));
  EXPECT_EQ(NewNames(Editor().Names())[2], u"xIMG10.jpg");
  EXPECT_EQ(MenuState(cmd::kSortNumbersByValue), std::pair(true, true));
  EXPECT_TRUE(SettingsHold("SortNumbersByValue=1"));

  // With the folder pane focused, the item still shows the editor's state and turns it off.
  CFolderTreeView* tree = frame->FolderPane();
  MoveTo(*tree, wxPoint(10, 10));
  tree->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return tree->HasFocus(); }));
  EXPECT_EQ(MenuState(cmd::kSortNumbersByValue), std::pair(true, true));
  Issue(cmd::kSortNumbersByValue);
  EXPECT_TRUE(SettingsHold("SortNumbersByValue=0"));
  EXPECT_EQ(OriginalNames(Editor().Names())[1], u"IMG10.jpg");
  EXPECT_EQ(NewNames(Editor().Names())[1], u"xIMG10.jpg");
}

}  // namespace
}  // namespace nomvarix::test
