#pragma once

class wxMenu;
class wxMenuBar;

namespace nomvarix {

/// The main menu, in order, with its texts and mnemonics. The recent folders go into the menu
/// that RecentFolderMenu() returns, at the place of the "Recent File" placeholder.
wxMenuBar* CreateMainMenu();

/// The File menu of a menu bar made by CreateMainMenu().
wxMenu* FileMenuOf(wxMenuBar* menuBar);

}  // namespace nomvarix

namespace nomvarix {

/// The pop-up of the command strip's "Tools" button: numbering, case, spaces, padding and the
/// creation-date and image-size insertions.
wxMenu* CreateToolsMenu();

/// The editor's right-click menu: clipboard, undo and redo, validation and reload.
wxMenu* CreateContextMenu();

}  // namespace nomvarix
