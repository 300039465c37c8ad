#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "GuiPump.h"
#include "GuiTestEnvironment.h"
#include "MessageBoxAnswerer.h"
#include "app/MainFrame.h"
#include "app/NomvarixApp.h"
#include "tree/FolderTreeView.h"
#include "resources/CommandIds.h"
#include "MenuCommands.h"
#include "support/NameListText.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"
#include "view/NomvarixView.h"
#include "view/ViewStrips.h"
#include "controls/WxText.h"

namespace nomvarix::test {
namespace {

using Names = std::vector<std::u16string>;

class MainWindowGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = GuiTestEnvironment::Get().App().MainFrame();
    ASSERT_NE(frame, nullptr);
    view = frame->EditorView();
    ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().LineCount() > 0; }));
  }

  Names Lines() const { return OriginalNames(view->Session().Editor().Names()); }
  std::u16string Folder() const { return view->Session().Editor().CurrentFolder(); }

  void Issue(int command) { IssueMenuCommand(*frame, command); }

  std::pair<bool, bool> MenuState(int command) { return MenuItemState(*frame, command); }

  CMainFrame* frame = nullptr;
  CNomvarixView* view = nullptr;
};

TEST_F(MainWindowGuiTest, StartsOnTheCommandLineFolderAndListsItsFilesInOrder) {
  const std::u16string photos = FromUtf8(GuiTestEnvironment::Get().PhotosFolder()) + u"/";
  EXPECT_EQ(Folder(), photos);
  // Extension first, case-sensitive: the defaults. Folders and hidden files are left out.
  EXPECT_EQ(Lines(), (Names{u"z", u"C.JPG", u"b.jpg", u"a.png", u"_c.txt"}));
  EXPECT_EQ(frame->GetTitle(), "Nomvarix");
  EXPECT_TRUE(GuiTestEnvironment::Get().App().StartPath().empty());
  EXPECT_NE(GuiTestEnvironment::Get().SettingsText().find("LastPath=" + GuiTestEnvironment::Get().PhotosFolder() + "/"),
            std::string::npos);
  ASSERT_FALSE(frame->RecentFolders().Folders().empty());
  EXPECT_EQ(frame->RecentFolders().Folders().front(), photos);
  EXPECT_EQ(frame->GetMenuBar()->GetLabel(cmd::MenuIdOf(cmd::kRecentFolderFirst)), "&1 " + ToWx(photos));
}

TEST_F(MainWindowGuiTest, HasTheTwoPanesAndTheStatusBarPanes) {
  EXPECT_EQ(frame->Splitter()->GetWindow1(), static_cast<wxWindow*>(frame->FolderPane()));
  EXPECT_EQ(frame->Splitter()->GetWindow2(), static_cast<wxWindow*>(view));
  EXPECT_EQ(frame->Splitter()->GetSashPosition(), frame->FromDIP(250));
  ASSERT_NE(frame->GetStatusBar(), nullptr);
  EXPECT_EQ(frame->GetStatusBar()->GetFieldsCount(), 4);
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Ready");
}

TEST_F(MainWindowGuiTest, SortCommandsFromTheMenuReorderTheLinesAndShowTheirChecks) {
  EXPECT_EQ(MenuState(cmd::kSortByFileType), std::pair(true, true));
  EXPECT_EQ(MenuState(cmd::kSortByFileName), std::pair(true, false));
  EXPECT_EQ(MenuState(cmd::kSortCaseSensitive), std::pair(true, true));
  Issue(cmd::kSortByFileName);
  EXPECT_EQ(Lines(), (Names{u"C.JPG", u"_c.txt", u"a.png", u"b.jpg", u"z"}));
  Issue(cmd::kSortCaseSensitive);
  EXPECT_EQ(Lines(), (Names{u"_c.txt", u"a.png", u"b.jpg", u"C.JPG", u"z"}));
  EXPECT_EQ(MenuState(cmd::kSortByFileName), std::pair(true, true));
  EXPECT_EQ(MenuState(cmd::kSortCaseSensitive), std::pair(true, false));
  EXPECT_NE(GuiTestEnvironment::Get().SettingsText().find("SortByExtension=0"), std::string::npos);
  EXPECT_NE(GuiTestEnvironment::Get().SettingsText().find("SortCaseSensitive=0"), std::string::npos);
  // The frame has no toolbar, and the View menu offers none.
  EXPECT_EQ(frame->GetMenuBar()->FindItem(cmd::MenuIdOf(cmd::kToolbar)), nullptr);
  EXPECT_EQ(MenuState(cmd::kApplyChanges).first, true);
  EXPECT_EQ(MenuState(cmd::kAbout).first, true);
}

TEST_F(MainWindowGuiTest, StartPathRulesAndTheLastPath) {
  const Names before = Lines();
  frame->OpenStartFolder(FromUtf8(GuiTestEnvironment::Get().PhotosFolder() + "/missing"));
  EXPECT_EQ(Lines(), before);  // a path that does not exist opens nothing

  frame->OpenStartFolder(FromUtf8(GuiTestEnvironment::Get().OtherFolder() + "/one.txt"));
  EXPECT_EQ(Folder(), FromUtf8(GuiTestEnvironment::Get().OtherFolder() + "/"));
  EXPECT_EQ(Lines(), (Names{u"one.txt"}));

  ASSERT_TRUE(frame->SelectPath(FromUtf8(GuiTestEnvironment::Get().PhotosFolder())));
  frame->OpenStartFolder(u"");  // no start path: "LastPath", the folder selected last
  EXPECT_EQ(Folder(), FromUtf8(GuiTestEnvironment::Get().PhotosFolder() + "/"));
  EXPECT_EQ(frame->RecentFolders().Folders().size(), 2u);
}

TEST_F(MainWindowGuiTest, EditsSurviveVisitingAnotherFolder) {
  const std::u16string photos = FromUtf8(GuiTestEnvironment::Get().PhotosFolder());
  ASSERT_TRUE(frame->SelectPath(photos));
  // Edits are made through the session the view owns, as the editing commands will.
  auto& editor = const_cast<EditorSession&>(view->Session()).Editor();
  editor.SetLineText(0, u"zebra");
  ASSERT_TRUE(frame->SelectPath(FromUtf8(GuiTestEnvironment::Get().OtherFolder())));
  ASSERT_TRUE(frame->SelectPath(photos));
  EXPECT_EQ(view->Session().Editor().Names()[0].newName, u"zebra");
}

TEST_F(MainWindowGuiTest, SelectAllCopyPasteAndUndoFromTheMenu) {
  ASSERT_TRUE(frame->SelectPath(FromUtf8(GuiTestEnvironment::Get().OtherFolder())));
  EXPECT_EQ(MenuState(cmd::kCopy).first, false);  // nothing selected yet
  EXPECT_EQ(MenuState(cmd::kUndo).first, false);
  Issue(cmd::kSelectAll);
  EXPECT_EQ(MenuState(cmd::kCopy).first, true);
  EXPECT_EQ(MenuState(cmd::kCut).first, true);
  Issue(cmd::kCopy);
  wxString copied;
  {
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTextDataObject data;
    ASSERT_TRUE(wxTheClipboard->GetData(data));
    copied = data.GetText();
    // Another program's text, with its LF line ends.
    wxTheClipboard->SetData(new wxTextDataObject("renamed.txt\nsecond"));
    wxTheClipboard->Close();
  }
  EXPECT_EQ(copied, "one.txt");
  EXPECT_EQ(MenuState(cmd::kPaste).first, true);
  Issue(cmd::kPaste);  // replaces the selected block; one line takes the first piece only
  EXPECT_EQ(view->Session().Editor().Names()[0].newName, u"renamed.txt");
  EXPECT_EQ(MenuState(cmd::kUndo).first, true);
  Issue(cmd::kUndo);
  EXPECT_EQ(view->Session().Editor().Names()[0].newName, u"one.txt");
  EXPECT_EQ(MenuState(cmd::kRedo).first, true);
}

TEST_F(MainWindowGuiTest, TheEditorPaintsItsRows) {
  frame->Raise();
  ASSERT_TRUE(PumpUntil([&] { return view->IsShownOnScreen(); }));
  view->Refresh();
  view->Update();
  const wxSize size = view->GetClientSize();
  wxBitmap shot(size);
  {
    wxClientDC screen(view);
    wxMemoryDC memory(shot);
    memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
  }
  const wxImage image = shot.ConvertToImage();
  // The rows are at the top: dark text pixels there, none far below the last row.
  const auto darkPixels = [&](int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom && y < image.GetHeight(); ++y) {
      for (int x = 0; x < image.GetWidth(); ++x) count += image.GetRed(x, y) < 128;
    }
    return count;
  };
  EXPECT_GT(darkPixels(0, 60), 50);
  EXPECT_LT(darkPixels(size.y - 60, size.y), 80);  // only the divider line
}

TEST_F(MainWindowGuiTest, TheFileManagerEntryIsAddedAndRemovedWithItsCheckMark) {
  TempFolder data;
  TempFolder config;  // Thunar's action list and the Caja script go among the user's settings
  setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  const std::string entry = data.Path() + "applications/nomvarix-open-folder.desktop";
  MessageBoxAnswerer answerer(wxID_YES);

  Issue(cmd::kExplorerIntegration);
  ASSERT_EQ(answerer.Messages().size(), 2u);
  EXPECT_TRUE(answerer.Messages()[0].StartsWith("Add Nomvarix to file manager context menu?"));
  // The test program lies in a build folder: the message says the entry starts it there.
  EXPECT_TRUE(answerer.Messages()[1].Contains("does not run from an installation")) << answerer.Messages()[1];
  EXPECT_TRUE(std::filesystem::is_regular_file(entry));
  EXPECT_EQ(MenuState(cmd::kExplorerIntegration), std::pair(true, true));

  Issue(cmd::kExplorerIntegration);
  ASSERT_EQ(answerer.Messages().size(), 3u);
  EXPECT_EQ(answerer.Messages()[2], "Successfully removed from file manager context menu.");
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_EQ(MenuState(cmd::kExplorerIntegration), std::pair(true, false));
  EXPECT_TRUE(config.EntryNames().empty());
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_CONFIG_HOME");
}

TEST_F(MainWindowGuiTest, CommandsThatNeedLinesAreDisabledInAnEmptyFolderAndCtrlAIsShown) {
  TempFolder empty;
  empty.AddFolder("nothing here");
  ASSERT_TRUE(frame->SelectPath(empty.Path16()));
  ASSERT_TRUE(PumpUntil([&] { return Folder().rfind(empty.Path16(), 0) == 0 && view->Session().Editor().LineCount() == 0; }));
  // Menu items and, where they have one, strip buttons: disabled here, enabled with lines.
  const struct {
    int command;
    int button;  // 0: no strip button
  } needLines[] = {{cmd::kApplyChanges, strip::kApply}, {cmd::kValidateChanges, strip::kValidate},
                   {cmd::kAi, strip::kAi},                {cmd::kTrimLeft, strip::kLeftAlign},
                   {cmd::kRightAlign, strip::kRightAlign}, {cmd::kSelectAll, 0},
                   {cmd::kUppercase, 0},                  {cmd::kSmartNumberings, 0},
                   {cmd::kDateLong, 0},                   {cmd::kPrint, 0}};
  const auto buttonEnabled = [&](int id) { return view->ButtonStrip().Find(id)->enabled; };
  // The update query every menu showing the command asks, the Tools and context menus too.
  const auto commandEnabled = [&](int command) {
    wxUpdateUIEvent query(cmd::MenuIdOf(command));
    query.SetEventObject(frame);
    frame->ProcessWindowEvent(query);
    return query.GetEnabled();
  };
  for (const auto& [command, button] : needLines) {
    EXPECT_FALSE(commandEnabled(command)) << "command " << command;
    if (button) {
      EXPECT_FALSE(buttonEnabled(button)) << "button " << button;
    }
  }
  EXPECT_TRUE(commandEnabled(cmd::kReload));  // a folder is open, if empty

  ASSERT_TRUE(frame->SelectPath(FromUtf8(GuiTestEnvironment::Get().PhotosFolder())));
  ASSERT_TRUE(PumpUntil([&] { return view->Session().Editor().LineCount() > 0; }));
  for (const auto& [command, button] : needLines) {
    EXPECT_TRUE(commandEnabled(command)) << "command " << command;
    if (button) {
      EXPECT_TRUE(buttonEnabled(button)) << "button " << button;
    }
  }

  const wxMenuItem* selectAll = frame->GetMenuBar()->FindItem(cmd::MenuIdOf(cmd::kSelectAll));
  ASSERT_NE(selectAll, nullptr);
  EXPECT_TRUE(selectAll->GetItemLabel().EndsWith("\tCtrl+A")) << selectAll->GetItemLabel();
}

}  // namespace
}  // namespace nomvarix::test
