#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include <wx/dialog.h>
#include <wx/timer.h>

#include "ai/AiAssistant.h"
#include "ai/RenamePair.h"
#include "ai/ResponseTail.h"

class wxButton;
class wxStaticText;
class wxTextCtrl;

namespace nomvarix {

class CColorEdit;
class FileSystem;
class SecretStore;
class SettingsStore;
class WorkerMessageChannel;

/// "AI": the user's rule, the names sent group after group to the chat server, the streamed answer,
/// the parsed pairs and the errors. "Insert Parsed" closes it with OK; the caller then puts the
/// pairs into the editor. Closing it any way stops a running group.
class CAiDialog final : public wxDialog, private AiDisplay {
 public:
  enum ControlId {
    kPrompt = 1020,
    kResponse = 1023,
    kJson = 1024,
    kInsertParsed = 1026,
    kLlmSettings = 1027,
    kErrors = 1028,
    kGroupSize = 1029,
    kSend = 1030,
    kStop = 1032,
    kTemplate = 1033,
    kShowWholeResponse = 1034,
  };

  /// `requestPairs` are the names to send. The group size comes from the settings ("GroupSize"),
  /// the chat server from the "LLM Settings".
  CAiDialog(wxWindow* parent, std::vector<RenamePair> requestPairs, FileSystem& fileSystem, SettingsStore& settings);
  ~CAiDialog() override;

  const std::vector<std::vector<RenamePair>>& ParsedGroups() const { return assistant_->ParsedGroups(); }
  const AiAssistant& Assistant() const { return *assistant_; }
  /// The whole text the response box shows the end of.
  const std::u16string& ResponseText() const { return responseTail_.Whole(); }

  /// What the errors box says when Send is pressed on an empty prompt; nothing is sent then.
  static const std::u16string_view kEmptyPromptMessage;

 private:
  void CreateControls();
  /// Centres the dialog on the main window, within the screen.
  void CentreOnMainWindow(wxWindow* parent);
  void OnSend();
  void OnStop();
  void OnInsertParsed();
  void OnLlmSettings();
  /// Takes the group-size box's number; "Enter an integer." and false when it holds none (the
  /// last good size stays).
  bool ExchangeGroupSize();
  /// Whether a worker's message that streamed text waits is put off: the box is given what
  /// arrived at most every tenth of a second (every second while it comes fast), however finely
  /// the answer is cut.
  bool PutOffPiece(const WorkerMessage& message);
  void ChangeResponseBox(const ResponseTail::BoxChange& change);

  void ShowResponse(std::u16string_view text) override;
  void AppendResponse(std::u16string_view text) override;
  void ShowErrors(std::u16string_view text) override;
  void ShowJson(std::u16string_view text) override;
  void EnableControls(bool idle) override;
  void ShowTemplateCaption(std::u16string_view caption) override;

  SettingsStore& settings_;
  std::unique_ptr<SecretStore> secrets_;  ///< the system's keyring, where the API key is kept
  int groupSize_;
  std::shared_ptr<WorkerMessageChannel> channel_;
  CColorEdit* prompt_ = nullptr;
  CColorEdit* response_ = nullptr;
  CColorEdit* json_ = nullptr;
  CColorEdit* errors_ = nullptr;
  wxTextCtrl* groupSizeBox_ = nullptr;
  wxButton* send_ = nullptr;
  wxButton* stop_ = nullptr;
  wxButton* template_ = nullptr;
  wxButton* llmSettings_ = nullptr;
  wxButton* insertParsed_ = nullptr;
  wxStaticText* responseCaption_ = nullptr;
  wxButton* showWholeResponse_ = nullptr;
  std::size_t responseColumn_ = 0;  ///< characters on the response box's last line
  ResponseTail responseTail_;
  wxTimer pieceTimer_;
  std::chrono::steady_clock::time_point pieceShown_;  ///< when streamed text was last shown
  std::uint64_t putOffRun_ = 0;                         ///< the run of the message put off
  std::size_t lastPieceSize_ = 0;                       ///< characters the box was last given
  std::unique_ptr<AiAssistant> assistant_;  ///< last: it stops its worker before the controls go
};

}  // namespace nomvarix
