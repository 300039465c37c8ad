#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <wx/timer.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include "macro/KeyMacro.h"
#include "macro/MacroPlayback.h"
#include "session/EditorMouse.h"
#include "session/EditorSession.h"
#include "view/CommandStrip.h"
#include "view/CommandTable.h"
#include "view/EditorPainter.h"
#include "view/FindReplaceDlg.h"
#include "view/GlyphWidths.h"
#include "view/NameWidthBounds.h"
#include "view/ProgressDialogs.h"
#include "view/ViewGeometry.h"

class wxScrollWinEvent;

namespace nomvarix {

class Clipboard;
class ContextMenuEntry;
class FileSystem;
class SettingsStore;

/// The editor pane: the strips, the ruler, one row per listed file with the name on disk beside
/// the editable new name. It owns the editor session and carries out the editor's commands.
class CNomvarixView final : public wxWindow {
 public:
  CNomvarixView(wxWindow* parent, FileSystem& fileSystem, SettingsStore& settings);
  ~CNomvarixView() override;

  const EditorSession& Session() const { return session_; }
  /// Where the rename journals and the kept edits go (see EditorSession::SetStateFolder).
  void SetStateFolder(const std::u16string& folder) { session_.SetStateFolder(folder); }
  /// Adds a finished rename done outside the editor (a recovery) to the rename history.
  void RecordInHistory(HistoryEntry entry);
  /// Where the session's long work shows its progress.
  ProgressDialogs& Progress() { return progress_; }
  const CommandStrip& ScopeStrip() const { return scopeStrip_; }
  const CommandStrip& ButtonStrip() const { return commandStrip_; }
  /// The narrowest client area in which the command strip shows every button whole beside the
  /// scope boxes.
  int NeededClientWidth();
  int FontSize() const { return fontSize_; }
  /// The dots per inch the view is laid out for (see ViewDpi).
  int Dpi() const { return geometry_.dpi; }
  const KeyMacro& Macro() const { return macro_; }
  /// Ends a playing macro before its next key (the window is about to close, or the user said so).
  void StopMacro();

  /// What selecting `folder` in the tree does to the editor: the edits of the folder left are
  /// kept, `folder` (ending with a separator) is loaded and its remembered edits come back; the
  /// divider is measured again for the new names.
  void ShowFolder(const std::u16string& folder);

  /// Saves the unapplied edits now if they changed since they were last saved (at exit).
  void KeepEditsNow();

  /// Carries out a menu command, or answers its enable/check query, when the view handles it; true
  /// then, also for a disabled command, which is not carried out.
  bool HandleCommandEvent(wxEvent& event);

  /// The whole paint pass into any device context of the view's client size.
  void PaintTo(wxDC& dc);

 private:
  void AddCommands();
  /// The Tools pop-up: case and spaces, numbering, padding, dates and image sizes.
  void AddRenamingCommands();
  /// Whether the editor shows any line: what most commands need to act on.
  CommandTable::Predicate HasLines() const;
  void CreateStrips();
  /// Asks kReloadQuestion; true when the user said Yes.
  bool AskToReload();
  void ConfirmReload();
  void ValidateChanges();
  void ApplyChanges();
  void RevertLastChanges();
  /// "Rename History...": the dialog over the history; its undos run here.
  void ShowRenameHistory();
  void UndoFromHistory(const HistoryEntry& entry, const UndoChoice& choice);
  /// What writing the rename history had to say, in a message box.
  void ShowHistoryProblem();
  void ShowMessage(std::u16string_view text, long icon);
  /// Shows a command's note in the status bar, and in a message box when it asks for one.
  void ShowNote(const CommandNote& note);
  /// Shows `text` in the message pane of the main window's status bar.
  void ShowStatus(std::u16string_view text);
  /// The open find dialog, or null.
  CFindReplaceDlg* FindDialog() const;
  void OpenFindDialog();
  void OnFindDialog(CFindReplaceDlg::Action action);
  /// F3: the next match of the open dialog's text, or else of the last search.
  void FindNextAgain();
  /// Ctrl+F3: the next match of the selected text after the selection's start.
  void FindSelectedText();
  /// "Ai": the AI dialog over the selected lines (or all); its parsed names go into the lines.
  void OpenAiDialog();
  void ChooseFilter();
  void InsertFromMetadata();
  void ToggleContextMenuEntry();
  void AddMacroCommands();
  void ToggleRecording();
  void StopRecording();
  void PlayMacro();
  /// Plays keys for a moment, then lets the program answer (paint, Escape, Stop, closing) before
  /// the next turn.
  void PlayMacroTurn();
  void EndPlayback();
  /// One played key: into the system's input stream where it can be, else straight to the keys'
  /// handling here, with the modifiers the macro pressed.
  void PlayKey(const KeyEvent& event);
  void DeliverKey(const KeyEvent& event);
  void SaveMacro();
  void LoadMacro();
  void RefreshMacroButtons();
  void OnCharHook(wxKeyEvent& event);
  void OnKeyUp(wxKeyEvent& event);
  void RefreshFilterButton();
  void Run(void (EditorSession::*command)());
  void AfterEdit();
  /// A typed character that would have made lines too long: said in the status bar, as a key may
  /// repeat.
  void ReportRefusedTyping();
  void MeasureFonts();
  void UpdateMouseGeometry();
  /// Lays the view out again for the resolution of the monitor the window moved to.
  void OnDpiChanged(wxDPIChangedEvent& event);
  /// Hands the editor the geometry of the fonts, the window and the divider.
  void UpdateMetrics();
  void UpdateScrollBars();
  void RefreshEditButtons();
  /// Copy, Undo and Redo: the strip buttons that follow the selection and the history.
  void RefreshSelectionButtons();
  void ToggleChangedRed();
  void OnScopeButton(unsigned id);
  /// The "Name" and ".ext" boxes as the editor holds them.
  void RefreshScopeButtons();
  void SendStripCommand(unsigned id);
  /// Sends a command to the frame, as a menu or an accelerator would.
  void SendStripCommandId(int command);
  void ChangeFontSize(int step);
  /// The editor key map for one key press; false when the key is not one of its keys.
  bool HandleKey(int virtualKey, bool shift, bool ctrl);
  void ShowCaretNow();
  void Apply(const MouseResponse& response);
  CommandStrip* StripAt(const wxPoint& point);

  /// The paint pass with the given character widths; `cellWidths` lets runs of cells be drawn at once.
  void Paint(wxDC& dc, GlyphWidthCache& widths, NameWidthBounds& bounds, GlyphWidths* cellWidths);
  void OnPaint(wxPaintEvent& event);
  /// Ctrl+P asks for a printer first; the direct command prints at once.
  void Print(bool askFirst);
  void ShowPrintPreview();
  void OnSize(wxSizeEvent& event);
  void OnScroll(wxScrollWinEvent& event);
  void OnMouse(wxMouseEvent& event);
  void OnLeftDown(const wxMouseEvent& event);
  void OnLeftUp(const wxMouseEvent& event);
  void OnDoubleClick(const wxMouseEvent& event);
  void OnMotion(const wxMouseEvent& event);
  void OnWheel(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnChar(wxKeyEvent& event);
  void OnBlink(wxTimerEvent& event);
  /// Edits are saved a moment after they change, not with every keystroke.
  void OnIdle(wxIdleEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);

  SettingsStore& settings_;
  std::unique_ptr<Clipboard> clipboard_;
  std::unique_ptr<ContextMenuEntry> contextMenuEntry_;
  bool contextMenuEntryShown_;
  ProgressDialogs progress_;
  EditorSession session_;
  CommandTable commands_;
  ViewGeometry geometry_;
  int fontSize_;
  ViewFonts fonts_;
  GlyphWidthCache glyphWidths_;
  NameWidthBounds nameWidthBounds_;
  CommandStrip scopeStrip_;
  CommandStrip commandStrip_;
  EditorMouse mouse_;
  KeyMacro macro_;
  std::unique_ptr<MacroPlayback> playback_;  ///< the macro playing, if one is
  bool playTurnRunning_ = false;
  /// The modifiers held by a macro played without the system's input stream.
  struct { bool shift = false, ctrl = false, alt = false; } playedModifiers_;
  wxTimer blinkTimer_;
  wxTimer keepTimer_;
  wxWeakRef<CFindReplaceDlg> findDialog_;  ///< the open find dialog; the toolkit owns it
  PaintFlags flags_;
  int lineHeight_ = 0;
  int charWidth_ = 0;
  int dividerX_ = -1;
  int gdiObjectCount_ = 0;
};

}  // namespace nomvarix
