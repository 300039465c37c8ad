#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include <wx/dialog.h>

#include "ai/AiAssistant.h"
#include "ai/RenamePair.h"

class wxButton;
class wxTextCtrl;

namespace nomvarix {

class CColorEdit;
class FileSystem;
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
  };

  /// `requestPairs` are the names to send. The group size comes from the settings ("GroupSize"),
  /// the chat server from the "LLM Settings".
  CAiDialog(wxWindow* parent, std::vector<RenamePair> requestPairs, FileSystem& fileSystem, SettingsStore& settings);
  ~CAiDialog() override;

  const std::vector<std::vector<RenamePair>>& ParsedGroups() const { return assistant_->ParsedGroups(); }
  const AiAssistant& Assistant() const { return *assistant_; }

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

  void ShowResponse(std::u16string_view text) override;
  void AppendResponse(std::u16string_view text) override;
  void ShowErrors(std::u16string_view text) override;
  void ShowJson(std::u16string_view text) override;
  void EnableControls(bool idle) override;
  void ShowTemplateCaption(std::u16string_view caption) override;

  SettingsStore& settings_;
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
  std::size_t responseColumn_ = 0;  ///< characters on the response box's last line
  std::unique_ptr<AiAssistant> assistant_;  ///< last: it stops its worker before the controls go
};

}  // namespace nomvarix
