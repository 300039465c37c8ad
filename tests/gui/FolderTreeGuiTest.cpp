// The folder pane driven with real keys and clicks: expanding, selecting, and edits kept across
// folders.
#include <filesystem>

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include "ShownDialog.h"
#include "EditorGuiFixture.h"
#include "platform/FileSystem.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "resources/CommandIds.h"
#include "support/NameListText.h"
#include "text/Utf16.h"
#include "tree/FolderTreeView.h"
#include "view/FindReplaceDlg.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

class FolderTreeGuiTest : public EditorGuiFixture {
 protected:
  void SetUp() override {
    EditorGuiFixture::SetUp();
    tree = frame->FolderPane();
    folder.AddFile("Root/sub1/a.txt");
    folder.AddFile("Root/sub1/b.txt");
    folder.AddFile("Root/sub2/c.txt");
    folder.AddFolder("Root/sub2/deeper");
  }
  Names Lines() const { return OriginalNames(view->Session().Editor().Names()); }
  wxTreeItemId ChildNamed(const wxTreeItemId& parent, const wxString& text) const {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = tree->GetFirstChild(parent, cookie); child.IsOk(); child = tree->GetNextChild(parent, cookie)) {
      if (tree->GetItemText(child) == text) return child;
    }
    return {};
  }
  /// Clicks an item's text. The tree lays itself out when idle: the item has its place once the
  /// events after scrolling to it were handled; should it still move, the click is made again.
  void ClickItem(const wxTreeItemId& item) {
    const auto clicked = [&] { return tree->GetSelection() == item && tree->HasFocus(); };
    for (int attempt = 0; attempt < 5 && !clicked(); ++attempt) {
      tree->EnsureVisible(item);
      Settle();
      wxRect rect;
      ASSERT_TRUE(tree->GetBoundingRect(item, rect, true));
      ClickAt(*tree, rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
    }
    ASSERT_TRUE(clicked());
  }

  CFolderTreeView* tree = nullptr;
};

TEST_F(FolderTreeGuiTest, ExpandSelectEditAndComeBack) {
  ASSERT_TRUE(frame->SelectPath(FromUtf8(folder.Path() + "Root")));
  const wxTreeItemId root = tree->GetSelection();
  EXPECT_EQ(tree->PathOf(root), FromUtf8(folder.Path() + "Root/"));
  EXPECT_TRUE(Lines().empty());  // no files directly in Root

  ClickItem(root);  // the focus to the tree
  sim.Char(WXK_RIGHT);  // expands
  ASSERT_TRUE(PumpUntil([&] { return tree->IsExpanded(root); }));
  const wxTreeItemId sub1 = ChildNamed(root, "sub1");
  const wxTreeItemId sub2 = ChildNamed(root, "sub2");
  ASSERT_TRUE(sub1.IsOk() && sub2.IsOk());
  EXPECT_TRUE(tree->ItemHasChildren(sub2));  // the placeholder of "deeper"
  EXPECT_FALSE(tree->ItemHasChildren(sub1));

  ClickItem(sub1);
  ASSERT_TRUE(PumpUntil([&] { return Lines() == Names{u"a.txt", u"b.txt"}; }));
  ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().Metrics().dividerX > 0; }));
  ClickAt(CellPoint(0, 0));
  ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().Selection().startLine == 0; }));
  sim.Text("x");
  ASSERT_TRUE(PumpUntil([&] { return NewNames(view->Session().Editor().Names())[0] == u"xa.txt"; }));

  ClickItem(sub2);
  EXPECT_EQ(Lines(), (Names{u"c.txt"}));
  ClickItem(sub1);
  EXPECT_EQ(NewNames(view->Session().Editor().Names()), (Names{u"xa.txt", u"b.txt"}));
  EXPECT_NE(GuiTestEnvironment::Get().SettingsText().find("LastPath=" + folder.Path() + "Root/sub1/"),
            std::string::npos);

  // Collapsing and expanding again does not repeat the children.
  tree->Collapse(root);
  tree->Expand(root);
  EXPECT_EQ(tree->GetChildrenCount(root, false), 2u);
}

TEST_F(FolderTreeGuiTest, FoldersAreInNameOrderWithoutHiddenOnesAndReadAgainAtEachExpansion) {
  for (const char* name : {"img10", "img2", "Img1", ".cache", "b", "onlyhidden/.git", "keep/inner"}) {
    folder.AddFolder(std::string("Root/sorted/") + name);
  }
  folder.AddFile("Root/sorted/img3");  // a file, not a folder
  ASSERT_TRUE(frame->SelectPath(FromUtf8(folder.Path() + "Root/sorted")));
  const wxTreeItemId sorted = tree->GetSelection();
  const auto children = [&] {
    std::vector<wxString> texts;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(sorted, cookie); c.IsOk(); c = tree->GetNextChild(sorted, cookie)) {
      texts.push_back(tree->GetItemText(c));
    }
    return texts;
  };
  ClickItem(sorted);
  sim.Char(WXK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return tree->IsExpanded(sorted); }));
  EXPECT_EQ(children(), (std::vector<wxString>{"b", "Img1", "img2", "img10", "keep", "onlyhidden"}));
  EXPECT_FALSE(tree->ItemHasChildren(ChildNamed(sorted, "onlyhidden")));
  const wxTreeItemId keep = ChildNamed(sorted, "keep");
  tree->Expand(keep);

  sim.Char(WXK_LEFT);
  ASSERT_TRUE(PumpUntil([&] { return !tree->IsExpanded(sorted); }));
  folder.AddFolder("Root/sorted/img9");
  folder.AddFolder("Root/sorted/onlyhidden/shown");
  std::filesystem::remove(folder.Path() + "Root/sorted/b");
  sim.Char(WXK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return tree->IsExpanded(sorted); }));
  EXPECT_EQ(children(), (std::vector<wxString>{"Img1", "img2", "img9", "img10", "keep", "onlyhidden"}));
  EXPECT_TRUE(tree->ItemHasChildren(ChildNamed(sorted, "onlyhidden")));
  // A folder that stayed keeps its item, opened as it was.
  EXPECT_EQ(ChildNamed(sorted, "keep"), keep);
  EXPECT_TRUE(tree->IsExpanded(keep));
  EXPECT_EQ(tree->GetSelection(), sorted);
}

// A folder of many files gets its button unread, and loses it once expanded with no folder in it.
TEST_F(FolderTreeGuiTest, ALargeFolderWithoutFoldersLosesItsButtonWhenExpanded) {
  for (std::size_t i = 0; i <= FileSystem::kSubfolderLookLimit; ++i) folder.AddFile("Root/many/" + std::to_string(i));
  ASSERT_TRUE(frame->SelectPath(FromUtf8(folder.Path() + "Root")));
  const wxTreeItemId root = tree->GetSelection();
  tree->Expand(root);
  const wxTreeItemId many = ChildNamed(root, "many");
  ASSERT_TRUE(many.IsOk());
  EXPECT_TRUE(tree->ItemHasChildren(many));
  tree->Expand(many);
  EXPECT_EQ(tree->GetChildrenCount(many, false), 0u);
  EXPECT_FALSE(tree->ItemHasChildren(many));
}

TEST_F(FolderTreeGuiTest, AMissingPathChangesNothing) {
  ASSERT_TRUE(frame->SelectPath(FromUtf8(folder.Path() + "Root/sub2")));
  EXPECT_EQ(Lines(), (Names{u"c.txt"}));
  EXPECT_FALSE(frame->SelectPath(FromUtf8(folder.Path() + "Root/missing")));
  EXPECT_FALSE(frame->SelectPath(FromUtf8(folder.Path() + "ROOT/SUB1")));  // another folder on this file system
  EXPECT_EQ(Lines(), (Names{u"c.txt"}));
}

TEST_F(FolderTreeGuiTest, AFolderNameThatIsNotUtf8IsKeptWhole) {
  folder.AddFile("Root/bad\xFFname/x.txt");
  const std::u16string path = FromUtf8(folder.Path() + "Root/bad\xFFname/");
  ASSERT_TRUE(frame->SelectPath(path));
  EXPECT_EQ(tree->PathOf(tree->GetSelection()), path);
  EXPECT_EQ(Lines(), (Names{u"x.txt"}));
  EXPECT_EQ(frame->RecentFolders().Folders().front(), path);
  EXPECT_EQ(GuiTestEnvironment::Get().App().Settings().ReadString(settings::kLastPath, u""), path);
  EXPECT_NE(GuiTestEnvironment::Get().SettingsText().find("bad\xFFname"), std::string::npos);

  ASSERT_TRUE(frame->SelectPath(FromUtf8(folder.Path() + "Root/sub1")));
  ClickItem(tree->GetItemParent(tree->GetSelection()));
  ClickItem(ChildNamed(tree->GetSelection(), wxString::FromUTF8("bad\xEF\xBF\xBDname")));  // shown with U+FFFD
  EXPECT_EQ(Lines(), (Names{u"x.txt"}));
}

TEST_F(FolderTreeGuiTest, TheTreeKeepsItsFontCommandsAndForwardsTheEditorsOnes) {
  ClickItem(tree->GetSelection());  // the start-up folder, scrolled into view
  ASSERT_TRUE(tree->HasFocus());
  const int before = tree->FontSize();
  const int editorBefore = view->FontSize();
  wxCommandEvent increase(wxEVT_MENU, cmd::MenuIdOf(cmd::kIncreaseFont));
  frame->ProcessWindowEvent(increase);
  EXPECT_EQ(tree->FontSize(), before > 31 ? before : before + 2);
  EXPECT_EQ(view->FontSize(), editorBefore);
  sim.Char('F', wxMOD_CONTROL);  // Find reaches the editor while the tree has the focus
  EXPECT_TRUE(PumpUntil([&] { return test::ShownDialog<CFindReplaceDlg>() != nullptr; }));
}

}  // namespace
}  // namespace nomvarix::test
