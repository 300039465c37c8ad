#pragma once

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/progdlg.h>
#include <wx/uiaction.h>

#include "GuiPump.h"
#include "GuiTestEnvironment.h"
#include "app/MainFrame.h"
#include "app/NomvarixApp.h"
#include "support/TempFolder.h"
#include "view/NomvarixView.h"

namespace nomvarix::test {

/// The running program on a folder of the test's own, with helpers that point and click with
/// real mouse events of the display.
class EditorGuiFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = GuiTestEnvironment::Get().App().MainFrame();
    ASSERT_NE(frame, nullptr);
    view = frame->EditorView();
    // The start-up folder first, so that its load does not come after ours.
    ASSERT_TRUE(PumpUntil([&] { return Editor().LineCount() > 0; }));
  }

  /// Creates the files, opens their folder and waits until the editor has painted it.
  void OpenFolderWith(std::initializer_list<const char*> files) {
    OpenFolderWith(std::vector<std::string>(files.begin(), files.end()));
  }
  void OpenFolderWith(const std::vector<std::string>& files) {
    for (const std::string& name : files) folder.AddFile(name);
    ASSERT_TRUE(frame->SelectPath(folder.Path16()));
    view->Refresh();
    view->Update();
    ASSERT_TRUE(PumpUntil([&] { return Editor().LineCount() == files.size() && Editor().Metrics().dividerX > 0; }));
  }

  const NameEditor& Editor() const { return view->Session().Editor(); }

  /// The middle of a text cell, in the view's client coordinates.
  wxPoint CellPoint(int line, int column) const {
    const ViewMetrics& m = Editor().Metrics();
    return {m.dividerX + m.textMargin + (column - Editor().LeftColumn()) * m.charWidth + m.charWidth / 2,
            m.textTop + (line - Editor().TopLine()) * m.lineHeight + m.lineHeight / 2};
  }
  /// The ruler above a column.
  wxPoint RulerPoint(int column) const { return {CellPoint(0, column).x, Editor().Metrics().textTop - 8}; }

  void MoveTo(wxWindow& window, const wxPoint& client) {
    sim.MouseMove(window.ClientToScreen(client));
    Settle();
  }
  void MoveTo(const wxPoint& client) { MoveTo(*view, client); }
  void ClickAt(wxWindow& window, const wxPoint& client) {
    MoveTo(window, client);
    sim.MouseClick();
    Settle();
  }
  void ClickAt(const wxPoint& client) { ClickAt(*view, client); }
  /// Clicks a visible button of the command strip, far enough from the last click not to be a
  /// double click.
  void ClickStripButton(int id) { ClickStripButton(view->ButtonStrip(), id); }
  void ClickStripButton(const CommandStrip& strip, int id) {
    const StripButton* button = strip.Find(id);
    ASSERT_TRUE(button && button->visible);
    WaitOutDoubleClick();
    ClickAt(button->rect.GetPosition() + wxPoint(button->rect.width / 2, button->rect.height / 2));
  }

  /// Gives the editor the keyboard, as a click into its window would.
  void FocusEditor() {
    frame->Raise();
    // Without a window manager the keyboard follows the pointer: keep it over the editor.
    MoveTo(wxPoint(view->GetClientSize().x - 20, view->GetClientSize().y - 20));
    view->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == view; }));
  }

  /// A key with modifiers, and text, as the display types them; each handled before it returns.
  void Key(int key, int modifiers = wxMOD_NONE) {
    sim.Char(key, modifiers);
    Settle();
  }
  void TypeText(const char* text) {
    sim.Text(text);
    Settle();
  }

  /// Clicks a progress dialog's Cancel and waits until the dialog has taken the click.
  void ClickCancel(wxProgressDialog& dialog) {
    wxWindow* cancel = dialog.FindWindow(wxID_CANCEL);
    ASSERT_NE(cancel, nullptr);
    const wxRect rect = cancel->GetScreenRect();
    sim.MouseMove(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
    Settle();
    sim.MouseClick();
    ASSERT_TRUE(PumpUntil([&] { return dialog.WasCancelled(); }));
  }

  /// The names in the test's folder on disk, as bytes, sorted.
  std::vector<std::string> DiskNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  CMainFrame* frame = nullptr;
  CNomvarixView* view = nullptr;
  TempFolder folder;
  wxUIActionSimulator sim;
};

}  // namespace nomvarix::test
