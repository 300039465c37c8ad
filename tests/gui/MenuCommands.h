#pragma once

#include <utility>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include "resources/CommandIds.h"

namespace nomvarix::test {

/// Sends the frame the menu command, as choosing its item does.
inline void IssueMenuCommand(wxFrame& frame, int command) {
  wxCommandEvent event(wxEVT_MENU, cmd::MenuIdOf(command));
  event.SetEventObject(&frame);
  frame.ProcessWindowEvent(event);
}

/// The enabled and checked state the menu item shows after its update query.
inline std::pair<bool, bool> MenuItemState(wxFrame& frame, int command) {
  frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  wxMenuBar* bar = frame.GetMenuBar();
  for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) bar->GetMenu(i)->UpdateUI(&frame);
  const wxMenuItem* item = bar->FindItem(cmd::MenuIdOf(command));
  EXPECT_NE(item, nullptr);
  return item ? std::pair(item->IsEnabled(), item->IsCheckable() && item->IsChecked()) : std::pair(false, false);
}

}  // namespace nomvarix::test
