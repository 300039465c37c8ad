#include "ai/dialog/AiDialog.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ai/ChatServerSettings.h"
#include "ai/dialog/LlmSettingsDlg.h"
#include "platform/SecretStore.h"
#include "controls/ColorEdit.h"
#include "controls/WxText.h"
#include "platform/LineEnds.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"

namespace nomvarix {

/// Carries the workers' messages to the dialog's thread. Once closed (the dialog is going), what a
/// worker still posts is dropped.
class WorkerMessageChannel {
 public:
  using Deliver = std::function<void(const WorkerMessage&)>;
  WorkerMessageChannel(wxEvtHandler* target, Deliver deliver) : target_(target), deliver_(std::move(deliver)) {}

  void Post(WorkerMessage message) {
    const std::lock_guard lock(mutex_);
    if (!target_) return;
    // Queued to the dialog's own handler: events still queued when it is destroyed go with it.
    target_->CallAfter([deliver = deliver_, message = std::move(message)] { deliver(message); });
  }
  void Close() {
    const std::lock_guard lock(mutex_);
    target_ = nullptr;
  }

 private:
  std::mutex mutex_;
  wxEvtHandler* target_;
  Deliver deliver_;
};

namespace {

std::optional<std::string> EnvironmentKey() {
  const char* key = std::getenv(settings::kLlmApiKeyVariable);
  if (!key || !*key) return std::nullopt;
  return std::string(key);
}

/// wxWidgets separates lines with LF on every platform.
wxString BoxText(std::u16string_view text) { return ToWx(ToLfLineEnds(text)); }

/// The response box holds at most this much of an answer (see ResponseTail); "Show All" shows
/// the rest.
constexpr std::size_t kShownResponse = 4 * 1024;
/// How often streamed text is given to the response box at most: often enough that an answer read
/// as it comes flows on, but when it comes faster than anyone reads (more than kFastPiece
/// characters at a time), a second apart, or the box's layout and drawing alone would cost the
/// dialog's thread more than all the rest.
constexpr auto kStreamedInterval = std::chrono::milliseconds(100);
constexpr auto kFastStreamedInterval = std::chrono::milliseconds(1000);
constexpr std::size_t kFastPiece = 1024;

/// The response box breaks a line after this many characters: a text box lays out a whole line
/// again for every piece added to it, so an answer of one long line would freeze the dialog.
constexpr std::size_t kMaxResponseLine = 2000;

/// `text` with a LF after each run of kMaxResponseLine characters without one; `column` is how
/// many characters the box's last line already has, and is kept up to date.
std::u16string WithShortLines(std::u16string_view text, std::size_t& column) {
  std::u16string lines;
  lines.reserve(text.size() + text.size() / kMaxResponseLine);
  for (const char16_t u : text) {
    if (column == kMaxResponseLine && u != u'\n' && u != u'\r') {
      lines += u'\n';
      column = 0;
    }
    lines += u;
    column = u == u'\n' ? 0 : column + 1;
  }
  return lines;
}

CColorEdit* ColoredBox(wxWindow* parent, int id, long style, int fontHeight, wxColour background, wxColour text) {
  auto* box = new CColorEdit(parent, id, style);
  box->SetFixedFont(fontHeight);
  box->SetBackground(background);
  box->SetTextColor(text);
  return box;
}

}  // namespace

const std::u16string_view CAiDialog::kEmptyPromptMessage =
    u"Nothing was sent: the prompt is empty. Describe how the names should change, then press Send.";

CAiDialog::CAiDialog(wxWindow* parent, std::vector<RenamePair> requestPairs, FileSystem& fileSystem,
                     SettingsStore& settings)
    : wxDialog(parent, wxID_ANY, "AI", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      settings_(settings),
      secrets_(MakeSystemSecretStore()),
      groupSize_(static_cast<int>(settings.ReadInteger(settings::kGroupSize, settings::kGroupSizeDefault))),
      responseTail_(kShownResponse),
      pieceTimer_(this) {
  CreateControls();
  channel_ = std::make_shared<WorkerMessageChannel>(this, [this](const WorkerMessage& message) {
    if (assistant_ && !PutOffPiece(message)) assistant_->Handle(message);
  });
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
    pieceShown_ = std::chrono::steady_clock::now();
    if (assistant_) assistant_->Handle(WorkerMessage{WorkerMessage::Kind::Piece, putOffRun_, 0, {}, {}});
  });
  assistant_ = std::make_unique<AiAssistant>(std::move(requestPairs), ReadChatServer(settings_, *secrets_, EnvironmentKey()).server,
                                             fileSystem, static_cast<AiDisplay&>(*this),
                                             [channel = channel_](WorkerMessage message) { channel->Post(std::move(message)); });
  assistant_->Open();
  CentreOnMainWindow(parent);
  // The rule is what the user writes first.
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    prompt_->SetFocus();
  });
}

void CAiDialog::CentreOnMainWindow(wxWindow* parent) {
  const wxWindow* main = parent ? wxGetTopLevelParent(parent) : nullptr;
  if (!main) {
    Centre();
    return;
  }
  const wxRect over = main->GetScreenRect();
  const wxRect screen = wxDisplay(this).GetClientArea();
  const wxSize size = GetSize();
  const int x = std::clamp(over.x + (over.width - size.x) / 2, screen.x, std::max(screen.GetRight() + 1 - size.x, screen.x));
  const int y = std::clamp(over.y + (over.height - size.y) / 2, screen.y, std::max(screen.GetBottom() + 1 - size.y, screen.y));
  Move(x, y);
}

CAiDialog::~CAiDialog() {
  pieceTimer_.Stop();
  assistant_.reset();  // stops a running group while the controls are still there
  channel_->Close();
}

void CAiDialog::CreateControls() {
  // In the tab order, each label right before its box: the box takes the label's name and mnemonic.
  const wxColour dark(16, 16, 16);
  auto* promptLabel = new wxStaticText(
      this, wxID_ANY, "&Prompt: Verbally describe what you want to do (use \"original\" and \"renamed\" to refer to the fields) ");
  prompt_ = ColoredBox(this, kPrompt, 0, 16, dark, wxColour(255, 255, 255));
  stop_ = new wxButton(this, kStop, "ST&OP");
  send_ = new wxButton(this, kSend, "&Send");
  responseCaption_ = new wxStaticText(this, wxID_ANY, "LLM Server &Response");
  response_ = ColoredBox(this, kResponse, 0, 16, dark, wxColour(0, 255, 0));
  showWholeResponse_ = new wxButton(this, kShowWholeResponse, "Show &All");
  showWholeResponse_->Hide();
  template_ = new wxButton(this, kTemplate, "&Template");
  llmSettings_ = new wxButton(this, kLlmSettings, "&LLM Settings");
  auto* jsonLabel = new wxStaticText(this, wxID_ANY, "Parsed &Names");
  json_ = ColoredBox(this, kJson, 0, 14, wxColour(192, 192, 192), wxColour(0, 0, 64));
  auto* errorsLabel = new wxStaticText(this, wxID_ANY, "&Errors");
  errors_ = ColoredBox(this, kErrors, wxTE_READONLY, 16, dark, wxColour(255, 0, 0));
  auto* groupSizeLabel = new wxStaticText(this, wxID_ANY, "Send data in &groups of ");
  groupSizeBox_ = new wxTextCtrl(this, kGroupSize, wxString::Format("%d", groupSize_), wxDefaultPosition,
                                 wxSize(FromDIP(48), -1));
  auto* close = new wxButton(this, wxID_CANCEL, "&Close");
  insertParsed_ = new wxButton(this, kInsertParsed, "&Insert Parsed");
  send_->SetDefault();

  const int gap = FromDIP(6);
  auto* sendRow = new wxBoxSizer(wxHORIZONTAL);
  sendRow->AddStretchSpacer();
  sendRow->Add(stop_, 0, wxRIGHT, gap);
  sendRow->Add(send_);
  auto* left = new wxBoxSizer(wxVERTICAL);
  left->Add(promptLabel, 0, wxBOTTOM, gap);
  left->Add(prompt_, 1, wxEXPAND);
  left->Add(sendRow, 0, wxEXPAND | wxTOP | wxBOTTOM, gap);
  auto* responseRow = new wxBoxSizer(wxHORIZONTAL);
  responseRow->Add(responseCaption_, 1, wxALIGN_CENTER_VERTICAL);
  responseRow->Add(showWholeResponse_);
  left->Add(responseRow, 0, wxEXPAND | wxBOTTOM, gap);
  left->Add(response_, 1, wxEXPAND);

  auto* templateRow = new wxBoxSizer(wxHORIZONTAL);
  templateRow->AddStretchSpacer();
  templateRow->Add(template_, 0, wxRIGHT, gap);
  templateRow->Add(llmSettings_);
  auto* right = new wxBoxSizer(wxVERTICAL);
  right->Add(templateRow, 0, wxEXPAND | wxBOTTOM, gap);
  right->Add(jsonLabel, 0, wxBOTTOM, gap);
  right->Add(json_, 1, wxEXPAND);

  auto* boxes = new wxBoxSizer(wxHORIZONTAL);
  boxes->Add(left, 1, wxEXPAND | wxRIGHT, gap);
  boxes->Add(right, 1, wxEXPAND);

  auto* bottom = new wxBoxSizer(wxHORIZONTAL);
  bottom->AddStretchSpacer(1);
  bottom->Add(groupSizeLabel, 0, wxALIGN_CENTER_VERTICAL);
  bottom->Add(groupSizeBox_, 0, wxALIGN_CENTER_VERTICAL);
  bottom->AddStretchSpacer(2);
  bottom->Add(close, 0, wxRIGHT, gap);
  bottom->Add(insertParsed_);

  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(boxes, 5, wxEXPAND | wxALL, gap * 2);
  all->Add(errorsLabel, 0, wxLEFT | wxRIGHT, gap * 2);
  all->Add(errors_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, gap * 2);
  all->Add(bottom, 0, wxEXPAND | wxALL, gap * 2);
  SetSizer(all);
  // The layout's size in dialog units, within the screen.
  const wxRect screen = wxDisplay(this).GetClientArea();
  wxSize size = ConvertDialogToPixels(wxSize(701, 382));
  size.DecTo(wxSize(screen.width * 9 / 10, screen.height * 9 / 10));
  SetSize(size);
  SetMinSize(ConvertDialogToPixels(wxSize(400, 250)));

  send_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSend(); });
  stop_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnStop(); });
  template_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    assistant_->PressTemplate(ToCrLfLineEnds(FromWx(json_->GetValue())));
  });
  llmSettings_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnLlmSettings(); });
  insertParsed_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnInsertParsed(); });
  showWholeResponse_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ChangeResponseBox(responseTail_.ShowWhole()); });
}

bool CAiDialog::ExchangeGroupSize() {
  long value = 0;
  if (!groupSizeBox_->GetValue().Strip(wxString::both).ToLong(&value) || value < INT_MIN || value > INT_MAX) {
    wxMessageBox("Enter an integer.", "Nomvarix", wxOK | wxICON_EXCLAMATION, this);
    groupSizeBox_->SetFocus();
    return false;
  }
  groupSize_ = static_cast<int>(value);
  return true;
}

void CAiDialog::OnSend() {
  const std::u16string rule = FromWx(prompt_->GetValue());
  if (prompt_->GetValue().Strip(wxString::both).empty()) {
    ShowErrors(kEmptyPromptMessage);
    prompt_->SetFocus();
    return;
  }
  ExchangeGroupSize();
  assistant_->Send(ToCrLfLineEnds(rule), groupSize_);
}

void CAiDialog::OnStop() {
  assistant_->StopByUser([] { wxTheApp->ProcessPendingEvents(); });
}

void CAiDialog::OnInsertParsed() {
  if (ExchangeGroupSize()) EndModal(wxID_OK);
}

void CAiDialog::OnLlmSettings() {
  const StoredChatServer stored = ReadChatServer(settings_, *secrets_, std::nullopt);
  CLlmSettingsDlg dialog(this, stored.server, settings::kLlmApiKeyVariable, KeyPlaceNote(stored.keyPlace));
  if (dialog.ShowModal() != wxID_OK) return;
  WriteChatServer(settings_, *secrets_, dialog.Server());
  assistant_->SetServer(ReadChatServer(settings_, *secrets_, EnvironmentKey()).server);
}

bool CAiDialog::PutOffPiece(const WorkerMessage& message) {
  if (message.kind != WorkerMessage::Kind::Piece) return false;
  // While one is put off, the text waits with the worker: the timer takes all of it, for the
  // latest Send (a timer started for an earlier one would take nothing).
  putOffRun_ = message.run;
  if (pieceTimer_.IsRunning()) return true;
  const auto now = std::chrono::steady_clock::now();
  const auto interval = lastPieceSize_ > kFastPiece ? kFastStreamedInterval : kStreamedInterval;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(pieceShown_ + interval - now);
  if (wait.count() <= 0) {
    pieceShown_ = now;
    return false;
  }
  pieceTimer_.StartOnce(static_cast<int>(wait.count()));
  return true;
}

void CAiDialog::ChangeResponseBox(const ResponseTail::BoxChange& change) {
  if (change.replace) {
    responseColumn_ = 0;
    response_->ChangeValue(BoxText(WithShortLines(change.text, responseColumn_)));
  } else {
    response_->AppendText(BoxText(WithShortLines(change.text, responseColumn_)));
  }
  response_->ShowPosition(response_->GetLastPosition());
  // The caption and the button change only when the box starts or stops holding the whole
  // answer: a new caption for every piece would lay the dialog out again each time.
  const bool whole = responseTail_.Hidden() == 0;
  if (showWholeResponse_->IsShown() == whole) {
    responseCaption_->SetLabel(whole ? "LLM Server &Response" : "LLM Server &Response (its end)");
    showWholeResponse_->Show(!whole);
    Layout();
  }
}

void CAiDialog::ShowResponse(std::u16string_view text) {
  lastPieceSize_ = text.size();
  ChangeResponseBox(responseTail_.Show(text));
}

void CAiDialog::AppendResponse(std::u16string_view text) {
  lastPieceSize_ = text.size();
  ChangeResponseBox(responseTail_.Append(text));
}

void CAiDialog::ShowErrors(std::u16string_view text) { errors_->ChangeValue(BoxText(text)); }

void CAiDialog::ShowJson(std::u16string_view text) { json_->ChangeValue(BoxText(text)); }

void CAiDialog::EnableControls(bool idle) {
  for (wxWindow* control : std::initializer_list<wxWindow*>{send_, insertParsed_, llmSettings_, groupSizeBox_, template_}) {
    control->Enable(idle);
  }
  stop_->Enable(!idle);
}

void CAiDialog::ShowTemplateCaption(std::u16string_view caption) {
  // "Save" takes its mnemonic where it does not clash with "Send".
  template_->SetLabel(caption == u"Save" ? wxString("Sa&ve") : "&" + ToWx(caption));
}

}  // namespace nomvarix
