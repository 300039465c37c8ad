#include "view/NomvarixView.h"

#include <chrono>
#include <optional>
#include <tuple>

#include <wx/app.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>
#include <wx/msgdlg.h>

#include "ai/RequestPayload.h"
#include "ai/dialog/AiDialog.h"
#include "editor/CaretMovement.h"
#include "editor/KeyMap.h"
#include "editor/VirtualKey.h"
#include "macro/MacroFile.h"
#include "platform/ContextMenuEntry.h"
#include "platform/Diagnostics.h"
#include "platform/KeyInjection.h"
#include "platform/SettingKeys.h"
#include "apply/RenameJournal.h"
#include "apply/Validation.h"
#include "transform/PadTrim.h"
#include "platform/SettingsStore.h"
#include "resources/Accelerators.h"
#include "resources/CommandIds.h"
#include "resources/MainMenu.h"
#include "view/KeyCodes.h"
#include "view/ExtFilterDlg.h"
#include "view/MetadataDlg.h"
#include "view/FindReplaceDlg.h"
#include "view/EditorPrintout.h"
#include "view/Palette.h"
#include "view/ProceedDlg.h"
#include "view/SystemClipboard.h"
#include "view/RenameHistoryDlg.h"
#include "view/ValidationReportDlg.h"
#include "view/ViewStrips.h"
#include "text/Utf16.h"
#include "controls/WxText.h"

namespace nomvarix {
namespace {

int ReadFontSize(const SettingsStore& settings, std::uint32_t defaultSize) {
  return settings::FontSizeOf(settings.ReadInteger(settings::kFontSize, defaultSize), defaultSize);
}

ScrollRequest RequestOf(const wxScrollWinEvent& event) {
  const wxEventType type = event.GetEventType();
  if (type == wxEVT_SCROLLWIN_LINEUP) return ScrollRequest::LineBack;
  if (type == wxEVT_SCROLLWIN_LINEDOWN) return ScrollRequest::LineForward;
  if (type == wxEVT_SCROLLWIN_PAGEUP) return ScrollRequest::PageBack;
  if (type == wxEVT_SCROLLWIN_PAGEDOWN) return ScrollRequest::PageForward;
  if (type == wxEVT_SCROLLWIN_THUMBTRACK || type == wxEVT_SCROLLWIN_THUMBRELEASE) return ScrollRequest::Thumb;
  if (type == wxEVT_SCROLLWIN_TOP) return ScrollRequest::First;
  if (type == wxEVT_SCROLLWIN_BOTTOM) return ScrollRequest::Last;
  return ScrollRequest::Other;
}

constexpr int kBlinkTimerId = 1;
constexpr int kBlinkPeriodMs = 500;
constexpr int kKeepTimerId = 2;
/// How long after a change the unapplied edits are saved: a burst of typing is saved once.
constexpr int kKeepDelayMs = 1000;
/// How long a macro plays keys before the program paints and answers the user again.
constexpr std::chrono::milliseconds kMacroTurn{30};

wxCursor CursorOf(MouseCursor cursor) {
  switch (cursor) {
    case MouseCursor::Resize: return wxCursor(wxCURSOR_SIZEWE);
    case MouseCursor::Beam: return wxCursor(wxCURSOR_IBEAM);
    case MouseCursor::Arrow: break;
  }
  return *wxSTANDARD_CURSOR;
}

/// The command a Ctrl entry of the key map runs, through the same enabled rule as its menu item.
std::optional<int> CommandOfKeyAction(KeyAction action) {
  switch (action) {
    case KeyAction::SelectAll: return cmd::kSelectAll;
    case KeyAction::Copy: return cmd::kCopy;
    case KeyAction::Paste: return cmd::kPaste;
    case KeyAction::Cut: return cmd::kCut;
    case KeyAction::Undo: return cmd::kUndo;
    case KeyAction::Redo: return cmd::kRedo;
    case KeyAction::Find: return cmd::kFind;
    default: return std::nullopt;
  }
}

}  // namespace

CNomvarixView::CNomvarixView(wxWindow* parent, FileSystem& fileSystem, SettingsStore& settings)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(100, 100),
               wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE | wxVSCROLL | wxHSCROLL | wxALWAYS_SHOW_SB),
      settings_(settings),
      clipboard_(MakeSystemClipboard()),
      contextMenuEntry_(MakeNativeContextMenuEntry()),
      contextMenuEntryShown_(contextMenuEntry_->IsShown()),
      progress_(*this),
      session_(fileSystem, settings),
      geometry_(ViewDpi(*this)),
      fontSize_(ReadFontSize(settings, settings::DefaultFontSize(geometry_.dpi))),
      fonts_(fontSize_),
      nameWidthBounds_(glyphWidths_),
      scopeStrip_(CommandStrip::Direction::FromLeft, geometry_.dpi),
      commandStrip_(CommandStrip::Direction::FromRight, geometry_.dpi),
      mouse_(session_),
      blinkTimer_(this, kBlinkTimerId),
      keepTimer_(this, kKeepTimerId) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  session_.SetProgressFactory(progress_);
  flags_.changedRed = settings.ReadFlag(settings::kChangedRed, settings::kChangedRedDefault);
  CreateStrips();
  AddCommands();
  MeasureFonts();
  UpdateMetrics();
  UpdateMouseGeometry();
  Bind(wxEVT_PAINT, &CNomvarixView::OnPaint, this);
  Bind(wxEVT_SIZE, &CNomvarixView::OnSize, this);
  Bind(wxEVT_SCROLLWIN_TOP, &CNomvarixView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_BOTTOM, &CNomvarixView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_LINEUP, &CNomvarixView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_LINEDOWN, &CNomvarixView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_PAGEUP, &CNomvarixView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_PAGEDOWN, &CNomvarixView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_THUMBTRACK, &CNomvarixView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_THUMBRELEASE, &CNomvarixView::OnScroll, this);
  Bind(wxEVT_LEFT_DOWN, &CNomvarixView::OnMouse, this);
  Bind(wxEVT_LEFT_DCLICK, &CNomvarixView::OnMouse, this);
  Bind(wxEVT_LEFT_UP, &CNomvarixView::OnMouse, this);
  Bind(wxEVT_MOTION, &CNomvarixView::OnMouse, this);
  Bind(wxEVT_MOUSEWHEEL, &CNomvarixView::OnWheel, this);
  Bind(wxEVT_KEY_DOWN, &CNomvarixView::OnKeyDown, this);
  Bind(wxEVT_CHAR_HOOK, &CNomvarixView::OnCharHook, this);
  Bind(wxEVT_KEY_UP, &CNomvarixView::OnKeyUp, this);
  Bind(wxEVT_CHAR, &CNomvarixView::OnChar, this);
  Bind(wxEVT_TIMER, &CNomvarixView::OnBlink, this, kBlinkTimerId);
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) { session_.StartWritingKeptEdits(); }, kKeepTimerId);
  Bind(wxEVT_IDLE, &CNomvarixView::OnIdle, this);
  Bind(wxEVT_SET_CURSOR, &CNomvarixView::OnSetCursor, this);
  Bind(wxEVT_CONTEXT_MENU, &CNomvarixView::OnContextMenu, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CNomvarixView::OnCaptureLost, this);
  Bind(wxEVT_DPI_CHANGED, &CNomvarixView::OnDpiChanged, this);
  UpdateScrollBars();
}

void CNomvarixView::OnDpiChanged(wxDPIChangedEvent& event) {
  event.Skip();
  const int old = geometry_.dpi;
  geometry_ = ViewGeometry(ViewDpi(*this));
  if (geometry_.dpi == old) return;
  for (CommandStrip* strip : {&scopeStrip_, &commandStrip_}) strip->SetDpi(geometry_.dpi);
  UpdateMouseGeometry();
  // The text keeps its size to the eye on the other monitor; the stored size stays the user's.
  fontSize_ = settings::FontSizeOf(static_cast<std::uint32_t>((fontSize_ * geometry_.dpi + old / 2) / old),
                                   settings::DefaultFontSize(geometry_.dpi));
  fonts_ = ViewFonts(fontSize_);
  MeasureFonts();
  dividerX_ = -1;
  UpdateMetrics();
  UpdateScrollBars();
  Refresh(false);
}

CNomvarixView::~CNomvarixView() = default;

void CNomvarixView::UpdateMouseGeometry() {
  mouse_.SetGeometry({.stripBandHeight = geometry_.stripBandHeight,
                      .markerColumnWidth = geometry_.markerColumnWidth,
                      .dividerGrip = geometry_.dividerGrip,
                      .rowMarkerInset = geometry_.Scaled(5)});
}

void CNomvarixView::CreateStrips() {
  for (CommandStrip* strip : {&scopeStrip_, &commandStrip_}) strip->SetBackground(palette::StripBand());
  AddScopeButtons(scopeStrip_);
  scopeStrip_.SetCallback([this](unsigned id) { OnScopeButton(id); });
  AddCommandButtons(commandStrip_);
  const wxColour disabled = Lighten(palette::StripBand(), 0.4f);
  commandStrip_.SetDisabledColours(palette::StripBand(), disabled, disabled);
  commandStrip_.SetOwner(this, [](int menuId) {
    return std::unique_ptr<wxMenu>(menuId == strip::kToolsMenu ? CreateToolsMenu() : nullptr);
  });
  commandStrip_.SetCallback([this](unsigned id) { SendStripCommand(id); });
}

void CNomvarixView::AddCommands() {
  const auto always = CommandTable::Predicate{};
  const CommandTable::Predicate hasLines = HasLines();
  commands_.Add(cmd::kApplyChanges, [this] { ApplyChanges(); }, hasLines);
  commands_.Add(cmd::kValidateChanges, [this] { ValidateChanges(); }, hasLines);
  commands_.Add(cmd::kRevertLastChanges, [this] { RevertLastChanges(); });
  commands_.Add(cmd::kFind, [this] { OpenFindDialog(); }, [this] { return session_.Editor().LineCount() > 0; });
  commands_.Add(cmd::kAi, [this] { OpenAiDialog(); }, hasLines);
  commands_.Add(cmd::kSetFilter, [this] { ChooseFilter(); }, [this] { return !session_.Editor().CurrentFolder().empty(); },
                [this] { return session_.Filter().IsActive(); });
  AddRenamingCommands();
  AddMacroCommands();
  commands_.Add(cmd::kPrint, [this] { Print(true); }, hasLines);
  commands_.Add(cmd::kPrintDirect, [this] { Print(false); }, hasLines);
  commands_.Add(cmd::kPrintPreview, [this] { ShowPrintPreview(); }, hasLines);
  commands_.Add(cmd::kExplorerIntegration, [this] { ToggleContextMenuEntry(); }, always,
                [this] { return contextMenuEntryShown_; });
  const CommandTable::Predicate hasFolder = [this] { return !session_.Editor().CurrentFolder().empty(); };
  commands_.Add(cmd::kReload, [this] { ConfirmReload(); }, hasFolder);
  commands_.Add(cmd::kResetAndReload, [this] { ConfirmReload(); }, hasFolder);
  commands_.Add(cmd::kSortCaseSensitive, [this] { Run(&EditorSession::ToggleSortCaseSensitive); }, always,
                [this] { return session_.SortCaseSensitive(); });
  commands_.Add(cmd::kSortNumbersByValue, [this] { Run(&EditorSession::ToggleSortNumbersByValue); }, always,
                [this] { return session_.SortNumbersByValue(); });
  commands_.Add(cmd::kSortByFileName, [this] { Run(&EditorSession::SortByFileName); }, always,
                [this] { return !session_.SortByExtension(); });
  commands_.Add(cmd::kSortByFileType, [this] { Run(&EditorSession::SortByFileType); }, always,
                [this] { return session_.SortByExtension(); });
  commands_.Add(cmd::kSortByDateTaken, [this] {
    const wxBusyCursor wait;
    session_.SortByDateTaken();
    AfterEdit();
  });
  commands_.Add(cmd::kInsertFromMetadata, [this] { InsertFromMetadata(); });
  commands_.Add(cmd::kAutoCheckConflicts, [this] { session_.ToggleAutoCheckConflicts(); }, always,
                [this] { return session_.CheckConflictsEnabled(); });
  commands_.Add(cmd::kKeepEditsBetweenRuns, [this] { session_.ToggleKeepEditsBetweenRuns(); }, always,
                [this] { return session_.KeepsEditsBetweenRuns(); });
  commands_.Add(cmd::kRenameHistory, [this] { ShowRenameHistory(); });
  commands_.Add(cmd::kKeepRenameHistory, [this] { session_.ToggleKeepRenameHistory(); }, always,
                [this] { return session_.KeepsRenameHistory(); });
  commands_.Add(cmd::kTypeChangedInRed, [this] { ToggleChangedRed(); }, always,
                [this] { return flags_.changedRed; });

  const NameEditor& editor = session_.Editor();
  commands_.Add(cmd::kUndo, [this] { session_.Undo(); AfterEdit(); }, [&editor] { return editor.CanUndo(); });
  commands_.Add(cmd::kRedo, [this] { session_.Redo(); AfterEdit(); }, [&editor] { return editor.CanRedo(); });
  commands_.Add(cmd::kCopy, [this] { session_.CopySelection(*clipboard_); AfterEdit(); },
                [&editor] { return editor.CanCopy(); });
  commands_.Add(cmd::kCut, [this] { session_.CutSelection(*clipboard_); AfterEdit(); },
                [&editor] { return editor.CanCut(); });
  commands_.Add(cmd::kPaste, [this] { session_.PasteClipboard(*clipboard_); AfterEdit(); },
                [this] { return clipboard_->HasText(); });
  commands_.Add(cmd::kSelectAll, [this] { session_.Editor().SelectAll(); AfterEdit(); }, HasLines());
  commands_.Add(cmd::kIncreaseFont, [this] { ChangeFontSize(settings::kFontSizeStep); },
                [this] { return settings::CanIncreaseFontSize(fontSize_); });
  commands_.Add(cmd::kDecreaseFont, [this] { ChangeFontSize(-settings::kFontSizeStep); },
                [this] { return settings::CanDecreaseFontSize(fontSize_); });
}

void CNomvarixView::AddRenamingCommands() {
  // None of them has anything to act on in an empty editor.
  const CommandTable::Predicate hasLines = HasLines();
  const std::pair<int, TextTransform> transforms[] = {
      {cmd::kUppercase, TextTransform::Uppercase},     {cmd::kLowercase, TextTransform::Lowercase},
      {cmd::kTitleCase, TextTransform::TitleCase},     {cmd::kToggleCase, TextTransform::ToggleCase},
      {cmd::kRemoveSpace, TextTransform::RemoveSpace}, {cmd::kChangeToUnderscores, TextTransform::Underscores},
      {cmd::kChangeToHyphen, TextTransform::Hyphens}};
  for (const auto& [command, transform] : transforms) {
    commands_.Add(command, [this, transform = transform] {
      session_.Transform(transform);
      AfterEdit();
    }, hasLines);
  }
  commands_.Add(cmd::kSmartNumberings, [this] {
    CommandNote note;
    const NumberingResult result = session_.NumberSelection(note);
    AfterEdit();
    if (result != NumberingResult::Done) ShowMessage(NumberingMessage(result), wxICON_WARNING);
    ShowNote(note);
  }, hasLines);
  commands_.Add(cmd::kRightAlign, [this] {
    const CommandNote note = session_.RightAlignAll();
    AfterEdit();
    ShowNote(note);
  }, hasLines);
  commands_.Add(cmd::kRightAlignSelection, [this] {
    const std::optional<CommandNote> note = session_.RightAlignSelection();
    AfterEdit();
    if (note) {
      ShowNote(*note);
    } else {
      ShowMessage(kNeedsMultiLineSelection, wxICON_INFORMATION);
    }
  }, hasLines);
  commands_.Add(cmd::kTrimLeftSelection, [this] {
    const wxBusyCursor wait;
    session_.TrimLeftSelection();
    AfterEdit();
  }, hasLines);
  commands_.Add(cmd::kTrimLeft, [this] {
    const wxBusyCursor wait;
    session_.TrimLeftAll();
    AfterEdit();
  }, hasLines);
  using DateInsertion = CommandNote (EditorSession::*)(std::u16string_view);
  const DateInsertion created = &EditorSession::InsertCreationDate;
  const DateInsertion taken = &EditorSession::InsertDateTaken;
  const std::tuple<int, std::u16string_view, DateInsertion> dates[] = {
      {cmd::kDateLong, u"yyyy-MM-dd", created},      {cmd::kDateShort, u"yyMMdd", created},
      {cmd::kDateTime, u"yyyy-MM-dd HH-mm", created}, {cmd::kDateTakenLong, u"yyyy-MM-dd", taken},
      {cmd::kDateTakenShort, u"yyMMdd", taken},       {cmd::kDateTakenTime, u"yyyy-MM-dd HH-mm", taken}};
  for (const auto& [command, format, insert] : dates) {
    commands_.Add(command, [this, format = format, insert = insert] {
      const CommandNote note = [&] {
        const wxBusyCursor wait;
        return (session_.*insert)(format);
      }();
      AfterEdit();
      ShowNote(note);
    }, hasLines);
  }
  const std::pair<int, std::u16string_view> sizes[] = {{cmd::kSizeParenthesizedUnderscored, u"_(WxH)_"},
                                                       {cmd::kSizeUnderscoreParenthesized, u"_(WxH)"},
                                                       {cmd::kSizeParenthesized, u"(WxH)"},
                                                       {cmd::kSizeUnderscored, u"_WxH_"},
                                                       {cmd::kSizeWxH, u"WxH"}};
  for (const auto& [command, pattern] : sizes) {
    commands_.Add(command, [this, pattern = pattern] {
      const CommandNote note = [&] {
        const wxBusyCursor wait;
        return session_.InsertImageSize(pattern);
      }();
      AfterEdit();
      ShowNote(note);
    }, hasLines);
  }
}

bool CNomvarixView::HandleCommandEvent(wxEvent& event) {
  if (!cmd::IsCommandMenuId(event.GetId())) return false;
  const int command = cmd::CommandOfMenuId(event.GetId());
  if (event.GetEventType() == wxEVT_UPDATE_UI) {
    const auto state = commands_.StateOf(command);
    if (!state) return false;
    auto& update = static_cast<wxUpdateUIEvent&>(event);
    update.Enable(state->enabled);
    if (state->checked) update.Check(*state->checked);
    return true;
  }
  if (event.GetEventType() != wxEVT_MENU || !commands_.StateOf(command)) return false;
  // A disabled command is not carried out, but its event is spent: an accelerator's key must not
  // reach the editor as a plain key (Shift+Delete would delete).
  commands_.Run(command);
  return true;
}

void CNomvarixView::KeepEditsNow() {
  keepTimer_.Stop();
  session_.WriteKeptEdits();
}

void CNomvarixView::OnIdle(wxIdleEvent& event) {
  event.Skip();
  if (!keepTimer_.IsRunning() && session_.KeptEditsOutdated()) keepTimer_.StartOnce(kKeepDelayMs);
}

void CNomvarixView::ShowFolder(const std::u16string& folder) {
  session_.SwitchToFolder(folder);
  commandStrip_.SetVisible(strip::kRevert, false);
  dividerX_ = -1;
  AfterEdit();
  // Both can be said at once: the dropped edits first, the filter after them.
  std::u16string status;
  if (const std::size_t dropped = session_.TakeDroppedKeptEdits()) status = DroppedKeptEditsMessage(dropped);
  if (session_.Filter().IsActive()) {
    if (!status.empty()) status += u' ';
    status += session_.FilterStatusText();
  }
  if (!status.empty()) ShowStatus(status);
  const std::u16string keptWarning = session_.TakeKeptEditsWarning();
  if (!keptWarning.empty()) ShowMessage(keptWarning, wxICON_WARNING);
}

CFindReplaceDlg* CNomvarixView::FindDialog() const {
  // A cancelled dialog lingers until the next idle time; it counts as gone.
  if (findDialog_ && wxTheApp->IsScheduledForDestruction(findDialog_.get())) return nullptr;
  return findDialog_.get();
}

void CNomvarixView::OpenFindDialog() {
  if (CFindReplaceDlg* dialog = FindDialog()) {
    dialog->Show();
    dialog->Raise();
    dialog->SetFocus();
    return;
  }
  findDialog_ = new CFindReplaceDlg(this, [this](CFindReplaceDlg::Action action) { OnFindDialog(action); });
  const std::u16string seed = SelectedSearchText(session_.Editor());
  if (!seed.empty()) findDialog_->Seed(seed);
  // Its right edge on the editor's right edge, its top at the first text line.
  const wxPoint corner = ClientToScreen(wxPoint(GetClientSize().x, geometry_.TextTop()));
  findDialog_->Move(corner.x - findDialog_->GetSize().x, corner.y);
  findDialog_->Show();
}

void CNomvarixView::OnFindDialog(CFindReplaceDlg::Action action) {
  CFindReplaceDlg* dialog = FindDialog();
  if (!dialog) return;
  const std::u16string text = dialog->SearchText();
  const std::u16string replacement = dialog->ReplacementText();
  const SearchOptions options = dialog->Options();
  std::optional<std::u16string> error = PatternError(text, options);
  if (!error && action != CFindReplaceDlg::Action::FindNext) error = ReplacementError(text, replacement, options);
  if (error) {
    wxMessageBox(ToWx(*error), "Nomvarix", wxOK | wxICON_WARNING, dialog);
    return;
  }
  std::u16string message;
  bool unsearched = false;
  switch (action) {
    case CFindReplaceDlg::Action::FindNext:
    case CFindReplaceDlg::Action::Replace: {
      const SearchOutcome outcome = action == CFindReplaceDlg::Action::FindNext
                                        ? session_.FindNext(text, options)
                                        : session_.ReplaceCurrent(text, replacement, options);
      message = SearchMessage(text, outcome);
      unsearched = !outcome.unsearched.empty();
      break;
    }
    case CFindReplaceDlg::Action::ReplaceAll: {
      const ReplaceAllOutcome outcome = session_.ReplaceAll(text, replacement, options);
      message = ReplaceAllMessage(outcome);
      unsearched = !outcome.unsearched.empty();
      break;
    }
  }
  AfterEdit();
  // Looked up again: windows may have closed while the progress dialog ran.
  if (!message.empty()) {
    wxMessageBox(ToWx(message), "Nomvarix", wxOK | (unsearched ? wxICON_WARNING : wxICON_INFORMATION), FindDialog());
  }
}

void CNomvarixView::FindNextAgain() {
  SearchMemory& search = session_.Search();
  if (const CFindReplaceDlg* dialog = FindDialog()) {
    session_.FindNext(dialog->SearchText(), dialog->Options());
  } else if (!search.lastText.empty()) {
    const std::u16string text = search.lastText;
    session_.FindNext(text, search.LastOptions());
  }
  AfterEdit();
}

void CNomvarixView::FindSelectedText() {
  const std::u16string text = SelectedSearchText(session_.Editor());
  if (text.empty()) return;
  SearchMemory& search = session_.Search();
  search.lastText = text;
  search.SetLastOptions({});
  const BlockSelection& selection = session_.Editor().Selection();
  search.findStart = {selection.startLine, selection.startColumn};
  session_.FindNext(text, {});
  AfterEdit();
}

void CNomvarixView::OpenAiDialog() {
  CAiDialog dialog(this, CollectRequestPairs(session_.Editor()), session_.FileSystemPort(), settings_);
  const bool insert = dialog.ShowModal() == wxID_OK;
  SetFocus();  // keys go to the editor again, whatever the window manager does
  if (!insert) return;
  session_.ApplyParsedPairs(dialog.ParsedGroups());
  AfterEdit();
}

void CNomvarixView::ChooseFilter() {
  Refresh(false);
  // Edits made so far come back on the files still listed under the new filter.
  session_.SavePendingEdits();
  const NameFilter& filter = session_.Filter();
  CExtFilterDlg dialog(this, FormatExtensionList(filter.extensions), filter.mustInclude);
  if (dialog.ShowModal() != wxID_OK) return;
  session_.SetFilter(dialog.Extensions(), dialog.MustInclude());
  RefreshFilterButton();
  AfterEdit();
  ShowStatus(session_.Filter().IsActive() ? session_.FilterStatusText() : u"Filter removed.");
}

void CNomvarixView::InsertFromMetadata() {
  std::vector<MetadataRecord> records = session_.SelectedMetadata();
  if (records.empty()) return;
  std::vector<std::u16string> names;
  const std::size_t folder = session_.Editor().CurrentFolder().size();
  for (const std::u16string& path : SelectedFilePaths(session_.Editor())) names.push_back(path.substr(folder));
  CMetadataDlg dialog(this, session_.LastMetadataPattern(), std::move(names), std::move(records));
  if (dialog.ShowModal() != wxID_OK) return;
  const CommandNote note = session_.InsertFromMetadata(dialog.Pattern(), dialog.Fallback());
  AfterEdit();
  ShowNote(note);
}

void CNomvarixView::ToggleContextMenuEntry() {
  const ContextMenuEntry::Texts& texts = contextMenuEntry_->Messages();
  if (contextMenuEntry_->IsInstalledForUser()) {
    contextMenuEntry_->Remove();
    ShowMessage(texts.removed, wxICON_INFORMATION);
    contextMenuEntryShown_ = false;
    return;
  }
  if (wxMessageBox(ToWx(texts.question), "Nomvarix", wxYES_NO | wxICON_QUESTION, this) != wxYES) return;
  const auto result = contextMenuEntry_->Install(FromWx(wxStandardPaths::Get().GetExecutablePath()));
  if (result == ContextMenuEntry::InstallResult::kFailed) {
    ShowMessage(texts.failed, wxICON_ERROR);
    return;
  }
  ShowMessage(result == ContextMenuEntry::InstallResult::kAdded ? texts.added : texts.addedForUninstalled,
              wxICON_INFORMATION);
  contextMenuEntryShown_ = true;
}

void CNomvarixView::AddMacroCommands() {
  // While a macro plays, nothing may change its events.
  commands_.Add(cmd::kRecordMacro, [this] { ToggleRecording(); }, [this] { return !playback_; });
  commands_.Add(cmd::kStopRecord, [this] { StopRecording(); }, [this] { return macro_.Recording(); });
  commands_.Add(cmd::kPlayMacro, [this] { PlayMacro(); }, [this] { return macro_.CanPlay() && !playback_; });
  commands_.Add(cmd::kSaveMacro, [this] { SaveMacro(); });
  commands_.Add(cmd::kLoadMacro, [this] { LoadMacro(); }, [this] { return !playback_; });
}

void CNomvarixView::OnCharHook(wxKeyEvent& event) {
  // Key presses addressed to the editor, seen before accelerators turn them into commands.
  const KeyStroke key = KeyStrokeOf(event);
  if (playback_ && key.virtualKey == vk::kEscape && !playback_->TakeInjectedEscape()) {
    playback_->Stop();
    return;
  }
  macro_.RecordPress(key);
  event.Skip();
}

void CNomvarixView::OnKeyUp(wxKeyEvent& event) {
  macro_.RecordRelease(KeyStrokeOf(event));
  event.Skip();
}

void CNomvarixView::ToggleRecording() {
  if (macro_.Recording()) {
    macro_.StopRecording();
  } else {
    session_.Editor().PushUndo();
    macro_.StartRecording();
  }
  RefreshMacroButtons();
  AfterEdit();
}

void CNomvarixView::StopRecording() {
  if (!macro_.Recording()) return;
  macro_.StopRecording();
  RefreshMacroButtons();
  Refresh(false);
}

void CNomvarixView::PlayMacro() {
  if (!macro_.CanPlay() || playback_) return;
  NameEditor& editor = session_.Editor();
  editor.BeginUndoGroup();
  editor.PushUndo();
  playback_ = std::make_unique<MacroPlayback>(macro_.Events());
  RefreshMacroButtons();
  CallAfter([this] { PlayMacroTurn(); });
}

void CNomvarixView::StopMacro() {
  if (playback_) playback_->Stop();
}

void CNomvarixView::PlayMacroTurn() {
  // A played key that shows a modal dialog runs the event loop inside a turn: the turn under way
  // goes on once the dialog is closed.
  if (!playback_ || playTurnRunning_) return;
  playTurnRunning_ = true;
  const auto turnEnd = std::chrono::steady_clock::now() + kMacroTurn;
  while (const std::optional<KeyEvent> key = playback_->Next()) {
    PlayKey(*key);
    if (std::chrono::steady_clock::now() >= turnEnd) break;
  }
  playTurnRunning_ = false;
  if (playback_->Ended()) {
    EndPlayback();
    return;
  }
  const std::u16string progress = playback_->ProgressText();
  if (!progress.empty()) ShowStatus(progress);
  CallAfter([this] { PlayMacroTurn(); });
}

void CNomvarixView::EndPlayback() {
  const bool showedProgress = !playback_->ProgressText().empty();
  playback_.reset();
  session_.Editor().EndUndoGroup();
  if (showedProgress) ShowStatus(u"Ready");
  RefreshMacroButtons();
  AfterEdit();
}

void CNomvarixView::PlayKey(const KeyEvent& event) {
  if (InjectKey(event.virtualKey, event.down)) {
    playback_->NoteInjected(event);
  } else {
    DeliverKey(event);
  }
}

void CNomvarixView::DeliverKey(const KeyEvent& event) {
  const int key = event.virtualKey;
  if (key == vk::kShift || key == vk::kLShift || key == vk::kRShift) {
    playedModifiers_.shift = event.down;
  } else if (key == vk::kControl || key == vk::kLControl || key == vk::kRControl) {
    playedModifiers_.ctrl = event.down;
  } else if (key == vk::kMenu || key == vk::kLMenu || key == vk::kRMenu) {
    playedModifiers_.alt = event.down;
  }
  if (!event.down) return;
  const auto [shift, ctrl, alt] = playedModifiers_;
  if (const auto command = AcceleratorCommand(key, shift, ctrl, alt)) {
    SendStripCommandId(*command);
    return;
  }
  if (HandleKey(key, shift, ctrl) || ctrl || alt) return;
  if (const char16_t ch = event.character != 0 ? event.character : CharacterOfKey(key, shift)) {
    session_.TypeChar(ch);
    ReportRefusedTyping();
    // As for typed keys; the playback's end refreshes the rest.
    RefreshSelectionButtons();
    UpdateScrollBars();
    Refresh(false);
  }
}

void CNomvarixView::SaveMacro() {
  if (macro_.Events().empty()) {
    ShowMessage(kNoMacroRecorded, wxICON_INFORMATION);
    return;
  }
  wxFileDialog dialog(this, "Save Macro", wxEmptyString, "macro.km", "Keyboard Macro (*.km)|*.km",
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return;
  wxFileName file(dialog.GetPath());
  if (file.GetExt().empty()) file.SetExt("km");
  if (!SaveMacroFile(session_.FileSystemPort(), FromWx(file.GetFullPath()), macro_.Events())) {
    ShowMessage(kMacroSaveFailed, wxICON_ERROR);
    return;
  }
  settings_.WriteString(settings::kLastMacroFolder, FromWx(file.GetPath()));
}

void CNomvarixView::LoadMacro() {
  const wxString folder = ToWx(settings_.ReadString(settings::kLastMacroFolder, u""));
  wxFileDialog dialog(this, "Load Macro", folder, wxEmptyString, "Keyboard Macro (*.km)|*.km",
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  const std::optional<std::vector<KeyEvent>> events = LoadMacroFile(session_.FileSystemPort(), FromWx(dialog.GetPath()));
  if (!events) {
    ShowMessage(kMacroLoadFailed, wxICON_ERROR);
    return;
  }
  macro_.Replace(*events);
  RefreshMacroButtons();
  Refresh(false);
  if (events->empty()) {
    ShowMessage(kMacroLoadFailed, wxICON_ERROR);
    return;
  }
  settings_.WriteString(settings::kLastMacroFolder, FromWx(wxFileName(dialog.GetPath()).GetPath()));
}

void CNomvarixView::RefreshMacroButtons() {
  const bool recording = macro_.Recording();
  const bool playing = playback_ != nullptr;
  bool changed = commandStrip_.SetEnabled(strip::kRecord, !playing);
  changed |= commandStrip_.SetCaption(strip::kRecord, recording ? u"Stop" : u"Record");
  changed |= commandStrip_.SetFillColor(strip::kRecord, recording ? wxColour(215, 17, 0) : wxColour(167, 51, 43));
  changed |= commandStrip_.SetBlinking(strip::kRecord, recording);
  // While a macro plays, its button stops it.
  changed |= commandStrip_.SetEnabled(strip::kPlay, playing || macro_.CanPlay());
  changed |= commandStrip_.SetCaption(strip::kPlay, playing ? u"Stop" : u"Play");
  changed |= commandStrip_.SetFillColor(strip::kPlay, playing ? wxColour(55, 142, 73) : wxColour(73, 112, 82));
  if (changed) Refresh(false);
}

void CNomvarixView::RefreshFilterButton() {
  const bool active = session_.Filter().IsActive();
  commandStrip_.SetCaption(strip::kFilter, active ? u"Filter*" : u"Filter");
  commandStrip_.SetFillColor(strip::kFilter, active ? wxColour(215, 76, 76) : wxColour(165, 165, 165));
  commandStrip_.SetCaptionColor(strip::kFilter, active ? *wxWHITE : *wxBLACK);
  Refresh(false);
}

void CNomvarixView::ShowMessage(std::u16string_view text, long icon) {
  wxMessageBox(ToWx(text), "Nomvarix", wxOK | icon, this);
}

void CNomvarixView::ShowStatus(std::u16string_view text) {
  if (auto* frame = wxDynamicCast(wxGetTopLevelParent(this), wxFrame)) frame->SetStatusText(ToWx(text), 0);
}

void CNomvarixView::ShowNote(const CommandNote& note) {
  if (note.status.empty()) return;
  ShowStatus(note.status);
  if (note.asMessage) ShowMessage(note.status, wxICON_INFORMATION);
}

void CNomvarixView::ValidateChanges() {
  std::vector<ValidationProblem> problems = session_.Validate();
  AfterEdit();
  if (problems.empty()) {
    ShowMessage(kNoErrorsFound, wxICON_INFORMATION);
    return;
  }
  CValidationReportDlg report(this, std::move(problems), [this](std::size_t line) {
    session_.GoToLine(line);
    AfterEdit();
  });
  report.ShowModal();
  SetFocus();
}

void CNomvarixView::ApplyChanges() {
  const NameEditor& editor = session_.Editor();
  if (!editor.AnyNameChanged() || editor.CurrentFolder().empty()) return;
  CProceedDlg dialog(this, settings_, session_.ApplySummary());
  if (dialog.ShowModal() != wxID_OK) return;
  ApplyOutcome outcome = session_.ApplyChanges(dialog.Verify(), dialog.AutoRename());
  if (outcome.kind == ApplyOutcome::Kind::Unprotected) {
    if (wxMessageBox(ToWx(UnprotectedApplyQuestion(outcome.unprotectedReason)), "Nomvarix",
                     wxYES_NO | wxNO_DEFAULT | wxICON_WARNING, this) != wxYES) {
      ShowStatus(u"Nothing renamed: crash protection is unavailable.");
      return;
    }
    outcome = session_.ApplyChanges(dialog.Verify(), dialog.AutoRename(), WithoutJournal::Apply);
  }
  if (outcome.renamed > 0) commandStrip_.SetVisible(strip::kRevert, true);
  AfterEdit();
  ShowHistoryProblem();
  if (outcome.kind == ApplyOutcome::Kind::Applied) ShowStatus(AppliedStatusText(outcome));
  if (outcome.kind == ApplyOutcome::Kind::ValidationFailed) {
    ShowMessage(kValidationFailed, wxICON_ERROR);
  } else if (outcome.kind == ApplyOutcome::Kind::FolderUnreadable || outcome.folderLost) {
    ShowMessage(FolderUnreadableMessage(editor.CurrentFolder()), wxICON_ERROR);
  } else if (outcome.skipped > 0) {
    const std::u16string reasons = outcome.skipReport.empty() ? u"" : u"\n\n" + ShortenedReport(outcome.skipReport);
    ShowMessage(SkippedFilesMessage(outcome.skipped) + reasons, wxICON_WARNING);
  }
}

void CNomvarixView::RevertLastChanges() {
  RevertOutcome outcome = session_.RevertLastChanges();
  if (outcome == RevertOutcome::AsksBeforeReload) {
    if (!AskToReload()) return;
    outcome = session_.RevertLastChanges(RevertReload::DropEdits);
  }
  switch (outcome) {
    case RevertOutcome::ShowsRenamedFiles:
      dividerX_ = -1;
      break;
    case RevertOutcome::NothingToRevert:
      ShowMessage(kNothingToRevert, wxICON_WARNING);
      break;
    case RevertOutcome::FolderMismatch:
      ShowMessage(kRevertFolderMismatch, wxICON_ERROR);
      break;
    case RevertOutcome::Reloaded:
    case RevertOutcome::AsksBeforeReload:
      break;
  }
  AfterEdit();
}

void CNomvarixView::ShowRenameHistory() {
  std::u16string problem;
  CRenameHistoryDlg dialog(
      this,
      [this, &problem] {
        return std::make_unique<HistoryBrowser>(session_.ReadRenameHistory(problem), session_.FileSystemPort());
      },
      [this](const HistoryEntry& entry, const UndoChoice& choice) { UndoFromHistory(entry, choice); });
  if (!problem.empty()) ShowMessage(problem, wxICON_WARNING);
  dialog.ShowModal();
  SetFocus();
}

void CNomvarixView::UndoFromHistory(const HistoryEntry& entry, const UndoChoice& choice) {
  HistoryUndoOutcome outcome = session_.UndoFromHistory(entry, choice);
  if (outcome.kind == HistoryUndoOutcome::Kind::Unprotected &&
      wxMessageBox(ToWx(UnprotectedApplyQuestion(outcome.unprotectedReason)), "Nomvarix",
                   wxYES_NO | wxNO_DEFAULT | wxICON_WARNING, this) == wxYES) {
    outcome = session_.UndoFromHistory(entry, choice, WithoutJournal::Apply);
  }
  AfterEdit();
  const std::u16string message = HistoryUndoMessage(outcome, entry.folder);
  if (outcome.kind == HistoryUndoOutcome::Kind::Undone && outcome.report.empty()) {
    ShowStatus(message);
  } else {
    ShowMessage(ShortenedReport(message), wxICON_WARNING);
  }
  ShowHistoryProblem();
}

void CNomvarixView::RecordInHistory(HistoryEntry entry) {
  session_.RecordInHistory(std::move(entry));
  ShowHistoryProblem();
}

void CNomvarixView::ShowHistoryProblem() {
  const std::u16string problem = session_.TakeHistoryMessage();
  if (!problem.empty()) ShowMessage(problem, wxICON_WARNING);
}

bool CNomvarixView::AskToReload() {
  return wxMessageBox(ToWx(kReloadQuestion), "Nomvarix", wxYES_NO | wxICON_QUESTION, this) == wxYES;
}

void CNomvarixView::ConfirmReload() {
  if (!AskToReload()) return;
  session_.ReloadConfirmed();
  AfterEdit();
}

void CNomvarixView::Run(void (EditorSession::*command)()) {
  (session_.*command)();
  AfterEdit();
}

void CNomvarixView::AfterEdit() {
  // A command says it at once; a playing macro's keys say it where it does not stop them.
  if (const std::size_t refused = session_.Editor().TakeRefusedLines()) {
    if (playback_) {
      ShowStatus(RefusedLinesMessage(refused));
    } else {
      ShowMessage(RefusedLinesMessage(refused), wxICON_WARNING);
    }
  }
  UpdateMetrics();
  RefreshScopeButtons();
  RefreshEditButtons();
  UpdateScrollBars();
  Refresh(false);
}

void CNomvarixView::ReportRefusedTyping() {
  if (const std::size_t refused = session_.Editor().TakeRefusedLines()) ShowStatus(RefusedLinesMessage(refused));
}

void CNomvarixView::ToggleChangedRed() {
  flags_.changedRed = !flags_.changedRed;
  settings_.WriteFlag(settings::kChangedRed, flags_.changedRed);
  Refresh(false);
}

void CNomvarixView::RefreshEditButtons() {
  RefreshSelectionButtons();
  commandStrip_.SetEnabled(strip::kPaste, clipboard_->HasText());
  // The buttons whose commands act on the lines, enabled as their menu items are.
  for (const int id : {strip::kAi, strip::kLeftAlign, strip::kRightAlign, strip::kValidate, strip::kApply}) {
    const std::optional<int> command = CommandOfStripButton(static_cast<unsigned>(id));
    const std::optional<CommandTable::State> state = command ? commands_.StateOf(*command) : std::nullopt;
    commandStrip_.SetEnabled(id, state && state->enabled);
  }
}

CommandTable::Predicate CNomvarixView::HasLines() const {
  return [this] { return session_.Editor().LineCount() > 0; };
}

void CNomvarixView::RefreshSelectionButtons() {
  const NameEditor& editor = session_.Editor();
  commandStrip_.SetEnabled(strip::kCopy, editor.CanCopy());
  commandStrip_.SetEnabled(strip::kUndo, editor.CanUndo());
  commandStrip_.SetEnabled(strip::kRedo, editor.CanRedo());
}

void CNomvarixView::OnScopeButton(unsigned id) {
  const ScopeButton button = id == strip::kName ? ScopeButton::Name : ScopeButton::Extension;
  // The strip flipped its own box; the editor decides which scope the two boxes stand for.
  session_.Editor().ToggleScopeButton(button);
  AfterEdit();
}

void CNomvarixView::RefreshScopeButtons() {
  // Loading resets the editor's scope; the boxes show whatever the editor holds.
  const NameEditor& editor = session_.Editor();
  scopeStrip_.SetChecked(strip::kName, editor.IsChecked(ScopeButton::Name));
  scopeStrip_.SetChecked(strip::kExtension, editor.IsChecked(ScopeButton::Extension));
}

void CNomvarixView::SendStripCommand(unsigned id) {
  if (id == strip::kPlay && playback_) {
    playback_->Stop();
    return;
  }
  if (const auto command = CommandOfStripButton(id)) SendStripCommandId(*command);
}

void CNomvarixView::SendStripCommandId(int command) {
  wxWindow* frame = wxGetTopLevelParent(this);
  if (!frame) return;
  wxCommandEvent event(wxEVT_MENU, cmd::MenuIdOf(command));
  event.SetEventObject(frame);
  frame->ProcessWindowEvent(event);
}

void CNomvarixView::MeasureFonts() {
  wxClientDC dc(this);
  dc.SetFont(fonts_.nameFont);
  lineHeight_ = dc.GetCharHeight() + 4;
  dc.SetFont(fonts_.cellFont);
  charWidth_ = dc.GetCharWidth();
}

void CNomvarixView::UpdateMetrics() {
  const wxSize client = GetClientSize();
  session_.Editor().SetMetrics({.lineHeight = lineHeight_,
                                .charWidth = charWidth_,
                                .textTop = geometry_.TextTop(),
                                .dividerX = dividerX_,
                                .textMargin = geometry_.textMargin,
                                .clientWidth = client.x,
                                .clientHeight = client.y});
}

void CNomvarixView::UpdateScrollBars() {
  const NameEditor& editor = session_.Editor();
  const ScrollBarValues vertical = editor.VerticalScrollBar();
  SetScrollbar(wxVERTICAL, vertical.position, vertical.page, vertical.maximum + 1);
  const ScrollBarValues horizontal = editor.HorizontalScrollBar();
  SetScrollbar(wxHORIZONTAL, horizontal.position, horizontal.page, horizontal.maximum + 1);
}

void CNomvarixView::PaintTo(wxDC& dc) {
  // The kept character widths are the window's: another device context (a printer's, scaled)
  // measures its own, and draws each cell alone.
  GlyphWidthCache widths;
  NameWidthBounds bounds(widths);
  Paint(dc, widths, bounds, nullptr);
}

void CNomvarixView::Paint(wxDC& dc, GlyphWidthCache& widths, NameWidthBounds& bounds, GlyphWidths* cellWidths) {
  // The divider is measured at paint time, when the window has its real size.
  const bool measure = dividerX_ == -1;
  if (measure) {
    const NameEditor& editor = session_.Editor();
    const int header = HeaderWidth(dc, fonts_.uiFont, TotalCaption(session_.TotalText(), editor.LineCount()),
                                   static_cast<int>(editor.LineCount()), geometry_);
    dividerX_ = MeasureDividerX(dc, editor.Names(), editor.ListGeneration(), fonts_.nameFont, widths, bounds,
                                geometry_, GetClientSize().x, header);
  }
  UpdateMetrics();
  if (measure) UpdateScrollBars();
  const MouseState& mouse = mouse_.State();
  flags_.textDragActive = mouse.textDragActive;
  flags_.lineDragActive = mouse.lineDragActive;
  flags_.rulerDragActive = mouse.rulerDragActive;
  flags_.dividerDragActive = mouse.dividerDragActive;
  flags_.dividerHover = mouse.dividerHover;
  flags_.recording = macro_.Recording();
  const PaintInput input{session_.Editor(), session_.Links(), geometry_, fonts_, flags_, scopeStrip_, commandStrip_,
                         cellWidths, session_.TotalText()};
  PaintEditor(dc, input);
}

void CNomvarixView::OnPaint(wxPaintEvent&) {
  {
    wxAutoBufferedPaintDC dc(this);
    Paint(dc, glyphWidths_, nameWidthBounds_, &glyphWidths_.For(fonts_.cellFont));
  }
  // A growing count of GDI objects from pass to pass shows a leak (Windows only).
  const int count = GdiObjectCount();
  if (count != gdiObjectCount_ && gdiObjectCount_ > 0) TraceToDebugger("GDI counts: " + std::to_string(count) + "\n");
  gdiObjectCount_ = count;
}

void CNomvarixView::Print(bool askFirst) {
  wxPrinter printer;
  EditorPrintout printout(*this);
  printer.Print(this, &printout, askFirst);
}

void CNomvarixView::ShowPrintPreview() {
  // The preview owns its two printouts, and the frame the preview once it is handed over.
  auto preview = std::make_unique<wxPrintPreview>(new EditorPrintout(*this), new EditorPrintout(*this));
  if (!preview->IsOk()) return;
  auto* frame = new wxPreviewFrame(preview.release(), wxGetTopLevelParent(this), "Print Preview");
  frame->Initialize();
  frame->Show();
}

int CNomvarixView::NeededClientWidth() {
  wxClientDC dc(this);
  // The command strip begins half a band's height after the scope boxes.
  return scopeStrip_.NeededWidth(dc) + geometry_.stripBandHeight / 2 + commandStrip_.NeededWidth(dc);
}

void CNomvarixView::OnSize(wxSizeEvent& event) {
  UpdateMetrics();
  UpdateScrollBars();
  Refresh(false);
  event.Skip();
}

void CNomvarixView::OnScroll(wxScrollWinEvent& event) {
  NameEditor& editor = session_.Editor();
  const ScrollRequest request = RequestOf(event);
  const bool changed = event.GetOrientation() == wxVERTICAL ? editor.ScrollVertically(request, event.GetPosition())
                                                            : editor.ScrollHorizontally(request, event.GetPosition());
  if (!changed) return;
  UpdateScrollBars();
  Refresh(false);
}

CommandStrip* CNomvarixView::StripAt(const wxPoint& point) {
  for (CommandStrip* strip : {&scopeStrip_, &commandStrip_}) {
    if (strip->Area().Contains(point)) return strip;
  }
  return nullptr;
}

void CNomvarixView::OnMouse(wxMouseEvent& event) {
  if (event.LeftDown()) {
    SetFocus();
    OnLeftDown(event);
  } else if (event.LeftDClick()) {
    OnDoubleClick(event);
  } else if (event.LeftUp()) {
    OnLeftUp(event);
  } else if (event.Moving() || event.Dragging()) {
    OnMotion(event);
  }
  event.Skip();
}

void CNomvarixView::OnLeftDown(const wxMouseEvent& event) {
  const wxPoint point = event.GetPosition();
  if (CommandStrip* strip = StripAt(point)) {
    strip->OnButtonDown(point);
    Refresh(false);
    return;
  }
  Apply(mouse_.Press(point.x, point.y, event.ShiftDown()));
}

void CNomvarixView::OnDoubleClick(const wxMouseEvent& event) {
  const wxPoint point = event.GetPosition();
  if (CommandStrip* strip = StripAt(point)) {
    strip->OnButtonDown(point);
    Refresh(false);
    return;
  }
  Apply(mouse_.DoubleClick(point.x, point.y));
}

void CNomvarixView::OnLeftUp(const wxMouseEvent& event) {
  const wxPoint point = event.GetPosition();
  if (HasCapture()) ReleaseMouse();
  Apply(mouse_.Release(point.x, point.y));
  // After the release has set the selection: the toolkit may deliver a drag's last moves late.
  RefreshEditButtons();
  for (CommandStrip* strip : {&scopeStrip_, &commandStrip_}) strip->OnButtonUp(point);
  Refresh(false);
}

void CNomvarixView::OnMotion(const wxMouseEvent& event) {
  const wxPoint point = event.GetPosition();
  CommandStrip* under = StripAt(point);
  if (!mouse_.HoldsMoves() && under) {
    if (under->OnMouseMove(point)) Refresh(false);
    return;
  }
  // Hover states go out when the pointer leaves a strip.
  bool repaint = false;
  for (CommandStrip* strip : {&scopeStrip_, &commandStrip_}) repaint |= strip->OnMouseMove(wxPoint(-1, -1));
  if (repaint) Refresh(false);
  Apply(mouse_.Move(point.x, point.y, event.LeftIsDown()));
}

void CNomvarixView::Apply(const MouseResponse& response) {
  if (response.dividerX) {
    dividerX_ = *response.dividerX;
    UpdateMetrics();
  }
  if (response.caretBlinkOn) flags_.caretBlinkOn = true;
  if (response.startBlinking && !blinkTimer_.IsRunning()) blinkTimer_.Start(kBlinkPeriodMs);
  if (response.capture && !HasCapture()) CaptureMouse();
  if (response.repaint) {
    UpdateScrollBars();
    Refresh(false);
  }
}

void CNomvarixView::OnCaptureLost(wxMouseCaptureLostEvent&) {
  mouse_.CancelDrags();
  Refresh(false);
}

void CNomvarixView::OnWheel(wxMouseEvent& event) {
  if (event.ControlDown()) {
    const int command = event.GetWheelRotation() > 0 ? cmd::kIncreaseFont : cmd::kDecreaseFont;
    commands_.Run(command);
    return;
  }
  if (!mouse_.Wheel(event.GetWheelRotation())) return;
  UpdateScrollBars();
  Refresh(false);
}

void CNomvarixView::OnSetCursor(wxSetCursorEvent& event) {
  event.SetCursor(CursorOf(mouse_.CursorAt(event.GetX(), event.GetY())));
}

void CNomvarixView::OnContextMenu(wxContextMenuEvent& event) {
  const std::unique_ptr<wxMenu> menu(CreateContextMenu());
  const wxPoint at = event.GetPosition() == wxDefaultPosition ? wxDefaultPosition : ScreenToClient(event.GetPosition());
  PopupMenu(menu.get(), at);
}

void CNomvarixView::ChangeFontSize(int step) {
  fontSize_ += step;
  fonts_ = ViewFonts(fontSize_);
  MeasureFonts();
  dividerX_ = -1;
  settings_.WriteInteger(settings::kFontSize, static_cast<std::uint32_t>(fontSize_));
  // Only the geometry changed: the buttons stay as they are, and the clipboard (a round trip to
  // the display) is not asked.
  UpdateMetrics();
  UpdateScrollBars();
  Refresh(false);
}

void CNomvarixView::ShowCaretNow() {
  flags_.caretBlinkOn = true;
  blinkTimer_.Start(kBlinkPeriodMs);
  Refresh(false);
}

void CNomvarixView::OnKeyDown(wxKeyEvent& event) {
  const bool handled = HandleKey(VirtualKeyOf(event), event.ShiftDown(), event.ControlDown());
  if (!handled) event.Skip();  // a character key: its character message follows
}

bool CNomvarixView::HandleKey(int virtualKey, bool shift, bool ctrl) {
  const KeyMeaning key = MeaningOfKey(virtualKey, ctrl);
  NameEditor& editor = session_.Editor();
  bool scrolled = false;
  switch (key.action) {
    case KeyAction::None:
      ShowCaretNow();
      return false;
    case KeyAction::FindSelected:
      FindSelectedText();
      return true;
    case KeyAction::FindNext:
      FindNextAgain();
      return true;
    case KeyAction::Backspace:
      session_.Backspace();
      editor.ClearAllMarks();
      break;
    case KeyAction::Delete:
      session_.DeleteForward();
      editor.ClearAllMarks();
      break;
    case KeyAction::CornerJump:
      JumpToOppositeCorner(editor);
      break;
    case KeyAction::Move:
      scrolled = MoveCaret(editor, key.caretKey, shift, ctrl);
      break;
    default:
      if (const auto command = CommandOfKeyAction(key.action)) commands_.Run(*command);
      return true;
  }
  if (scrolled) UpdateScrollBars();
  // Keys leave the clipboard as it was: it is not asked (a round trip to the display) on every key.
  RefreshSelectionButtons();
  ShowCaretNow();
  return true;
}

void CNomvarixView::OnChar(wxKeyEvent& event) {
  const wxChar code = event.GetUnicodeKey();
  if (code == WXK_NONE || code < 32 || event.AltDown()) {
    event.Skip();
    return;
  }
  // Characters outside the Basic Multilingual Plane do not fit one cell; they are not typed.
  if (NeedsTwoUnits(static_cast<std::uint32_t>(code))) return;
  macro_.RecordCharacter(PhysicalKeyOf(event), static_cast<char16_t>(code));
  session_.TypeChar(static_cast<char16_t>(code));
  ReportRefusedTyping();
  // As for the other keys, the clipboard is not asked.
  RefreshSelectionButtons();
  UpdateScrollBars();
  Refresh(false);
}

void CNomvarixView::OnBlink(wxTimerEvent&) {
  if (session_.Editor().Selection().startLine < 0) return;
  flags_.caretBlinkOn = !flags_.caretBlinkOn;
  commandStrip_.SetBlinkPhase(flags_.caretBlinkOn);
  scopeStrip_.SetBlinkPhase(flags_.caretBlinkOn);
  Refresh(false);
}

}  // namespace nomvarix
