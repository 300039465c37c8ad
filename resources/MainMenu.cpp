#include "resources/MainMenu.h"

#include <wx/menu.h>

#include "resources/CommandIds.h"

namespace nomvarix {

using cmd::MenuIdOf;

wxMenuBar* CreateMainMenu() {
  auto* file = new wxMenu;
  file->AppendSeparator();
  file->Append(MenuIdOf(cmd::kApplyChanges), "Apply Changes");
  file->Append(MenuIdOf(cmd::kValidateChanges), "Validate Changes");
  file->Append(MenuIdOf(cmd::kRevertLastChanges), "Revert Last Changes");
  file->Append(MenuIdOf(cmd::kReload), "Reload");
  file->AppendCheckItem(MenuIdOf(cmd::kSetFilter), "Set Filter...");
  file->AppendSeparator();
  file->Append(MenuIdOf(cmd::kRecentFolderFirst), "Recent File");
  file->AppendSeparator();
  file->Append(MenuIdOf(cmd::kRenameHistory), "Rename &History...\tCtrl+H", "Undo an earlier apply, whole or file by file");
  file->AppendSeparator();
  file->Append(MenuIdOf(cmd::kExit), "E&xit\tCtrl+Q", "Quit the application; prompts to save documents");

  auto* macros = new wxMenu;
  macros->Append(MenuIdOf(cmd::kRecordMacro), "Record Macro");
  macros->Append(MenuIdOf(cmd::kStopRecord), "Stop Record");
  macros->Append(MenuIdOf(cmd::kPlayMacro), "Play Macro");
  macros->AppendSeparator();
  macros->Append(MenuIdOf(cmd::kSaveMacro), "Save Macro ...");
  macros->Append(MenuIdOf(cmd::kLoadMacro), "Load Macro ...");

  auto* edit = new wxMenu;
  edit->Append(MenuIdOf(cmd::kUndo), "&Undo\tCtrl+Z", "Undo the last action");
  edit->Append(MenuIdOf(cmd::kRedo), "Redo\tCtrl+Y", "Redo the previously undone action");
  edit->AppendSeparator();
  edit->Append(MenuIdOf(cmd::kCopy), "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard");
  edit->Append(MenuIdOf(cmd::kPaste), "&Paste\tCtrl+V", "Insert Clipboard contents");
  edit->Append(MenuIdOf(cmd::kCut), "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard");
  edit->Append(MenuIdOf(cmd::kFind), "&Find...\tCtrl+F", "Find or replace text in the new names");
  edit->Append(MenuIdOf(cmd::kAi), "AI...\tCtrl+I", "Ask the AI assistant for new names");
  edit->AppendSeparator();
  edit->AppendSubMenu(macros, "Macros");
  edit->AppendSeparator();
  edit->Append(MenuIdOf(cmd::kSelectAll), "Select &All\tCtrl+A", "Select every line");

  auto* view = new wxMenu;
  view->AppendCheckItem(MenuIdOf(cmd::kStatusBar), "&Status Bar", "Show or hide the status bar");
  view->AppendSeparator();
  view->Append(MenuIdOf(cmd::kIncreaseFont), "Increase Font", "Increase Font Size");
  view->Append(MenuIdOf(cmd::kDecreaseFont), "Decrease Font", "Decrease Font Size");
  view->AppendSeparator();
  view->AppendCheckItem(MenuIdOf(cmd::kTypeChangedInRed), "Type Changed in Red");

  auto* settings = new wxMenu;
  settings->AppendCheckItem(MenuIdOf(cmd::kSortCaseSensitive), "Sort Case Sensitive");
  settings->AppendCheckItem(MenuIdOf(cmd::kSortNumbersByValue), "Sort Numbers by Value");
  settings->AppendSeparator();
  settings->AppendCheckItem(MenuIdOf(cmd::kSortByFileName), "Sort by File Name");
  settings->AppendCheckItem(MenuIdOf(cmd::kSortByFileType), "Sort by File Type then Name");
  settings->Append(MenuIdOf(cmd::kSortByDateTaken), "Sort by Date Taken");
  settings->AppendSeparator();
  settings->AppendCheckItem(MenuIdOf(cmd::kAutoCheckConflicts), "Auto-Check For Conflicts");
  settings->AppendCheckItem(MenuIdOf(cmd::kKeepEditsBetweenRuns), "Keep Edits Between Runs");
  settings->AppendCheckItem(MenuIdOf(cmd::kKeepRenameHistory), "Keep Rename History");
  settings->AppendSeparator();
#ifdef __WXMSW__
  settings->AppendCheckItem(MenuIdOf(cmd::kExplorerIntegration), "Explorer Integration");
#else
  settings->AppendCheckItem(MenuIdOf(cmd::kExplorerIntegration), "File Manager Integration");
#endif

  auto* help = new wxMenu;
  help->Append(MenuIdOf(cmd::kAbout), "&About Nomvarix...", "Display program information, version number and copyright");

  auto* bar = new wxMenuBar;
  bar->Append(file, "&File");
  bar->Append(edit, "&Edit");
  bar->Append(view, "&View");
  bar->Append(settings, "Settings");
  bar->Append(help, "&Help");
  return bar;
}

wxMenu* FileMenuOf(wxMenuBar* menuBar) { return menuBar->GetMenu(0); }

}  // namespace nomvarix

namespace nomvarix {

wxMenu* CreateToolsMenu() {
  using namespace cmd;
  const auto subMenu = [](std::initializer_list<std::pair<int, const char*>> items) {
    auto* menu = new wxMenu;
    for (const auto& [command, text] : items) menu->Append(MenuIdOf(command), text);
    return menu;
  };
  auto* tools = new wxMenu;
  tools->Append(MenuIdOf(kSmartNumberings), "Smart Numberings");
  tools->AppendSeparator();
  tools->AppendSubMenu(subMenu({{kUppercase, "UPPERCASE"}, {kLowercase, "lowercase"}, {kTitleCase, "Title Case"},
                                {kToggleCase, "tOGGLE cASE"}}),
                       "Case");
  tools->AppendSeparator();
  tools->AppendSubMenu(subMenu({{kRemoveSpace, "RemoveSpace"}, {kChangeToUnderscores, "Change_to_underscores"},
                                {kChangeToHyphen, "Change-to-Hyphen"}}),
                       "Spaces");
  tools->AppendSubMenu(subMenu({{kRightAlign, "Right Align"}, {kRightAlignSelection, "Right Align (Selection)"},
                                {kTrimLeftSelection, "Trim Left (selection)"}, {kTrimLeft, "Trim Left"}}),
                       "Pad");
  tools->AppendSeparator();
  tools->AppendSubMenu(subMenu({{kDateLong, "yyyy-MM-dd"}, {kDateShort, "yyMMdd"}, {kDateTime, "yyyy-MM-dd HH-mm"}}),
                       "Insert Creation Date");
  tools->AppendSubMenu(
      subMenu({{kDateTakenLong, "yyyy-MM-dd"}, {kDateTakenShort, "yyMMdd"}, {kDateTakenTime, "yyyy-MM-dd HH-mm"}}),
      "Insert Date Taken");
  tools->AppendSubMenu(subMenu({{kSizeParenthesizedUnderscored, "_(WxH)_"}, {kSizeUnderscoreParenthesized, "_(WxH)"},
                                {kSizeParenthesized, "(WxH)"}, {kSizeUnderscored, "_WxH_"}, {kSizeWxH, "WxH"}}),
                       "Insert Image Size");
  tools->Append(MenuIdOf(kInsertFromMetadata), "Insert from Metadata...\tCtrl+M");
  return tools;
}

wxMenu* CreateContextMenu() {
  using namespace cmd;
  auto* menu = new wxMenu;
  menu->Append(MenuIdOf(kCopy), "&Copy\tCtrl+C");
  menu->Append(MenuIdOf(kPaste), "&Paste\tCtrl+V");
  menu->AppendSeparator();
  menu->Append(MenuIdOf(kCut), "Cu&t\tCtrl+X");
  menu->Append(MenuIdOf(kUndo), "&Undo\tCtrl+Z");
  menu->Append(MenuIdOf(kRedo), "Redo\tCtrl+Y");
  menu->AppendSeparator();
  menu->Append(MenuIdOf(kValidateChanges), "Validate Changes");
  menu->Append(MenuIdOf(kResetAndReload), "Reset and Reload");
  return menu;
}

}  // namespace nomvarix
