#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ai/LlmClient.h"
#include "ai/PromptTemplate.h"
#include "ai/RenamePair.h"

namespace nomvarix {

class BackgroundTask;
class FileSystem;
class StreamedText;

/// What a group's worker tells the dialog. The dialog delivers each on its own thread, in the
/// order they were posted.
struct WorkerMessage {
  enum class Kind {
    Piece,      ///< streamed answer text is waiting (with CR LF line breaks); the message holds none, and a
                ///< display may put it off: the group's later messages show what waits
    Error,      ///< a failure text for the errors box
    Parsed,     ///< the pairs the group's answer gave (possibly none)
    GroupDone,  ///< the group has ended; always the group's last message
  } kind = Kind::Piece;
  std::uint64_t run = 0;  ///< which Send the message belongs to
  std::size_t group = 0;
  std::u16string text;
  std::vector<RenamePair> pairs;
};

/// The AI dialog's boxes and buttons, as the assistant changes them. Texts use CR LF line breaks.
class AiDisplay {
 public:
  virtual ~AiDisplay() = default;
  /// The response box shows `text`, scrolled to its end.
  virtual void ShowResponse(std::u16string_view text) = 0;
  /// The response box gets `text` at its end, scrolled to it.
  virtual void AppendResponse(std::u16string_view text) = 0;
  virtual void ShowErrors(std::u16string_view text) = 0;
  /// The box on the right: the listing of parsed pairs, or the template while it is edited.
  virtual void ShowJson(std::u16string_view text) = 0;
  /// Idle: Send, Insert Parsed, LLM Settings, the group size and Template enabled, STOP disabled;
  /// processing: the other way round.
  virtual void EnableControls(bool idle) = 0;
  virtual void ShowTemplateCaption(std::u16string_view caption) = 0;
};

/// The AI dialog without its windows: the names to send, the prompt template, the group loop that
/// sends the names group after group (one request at a time, each on a fresh client and its own
/// worker thread), the pairs parsed from the answers, stopping, and editing the template.
///
/// Everything here runs on the dialog's thread except the workers, which only post messages;
/// `post` must accept them from any thread and hand them to Handle() on the dialog's thread.
class AiAssistant {
 public:
  using Post = std::function<void(WorkerMessage)>;

  /// Loads the template (the user's file, the program's, else the built-in one).
  AiAssistant(std::vector<RenamePair> requestPairs, ChatServer server, FileSystem& fileSystem, AiDisplay& display,
              Post post);
  /// Stops a running group (waiting up to five seconds for its worker).
  ~AiAssistant();
  AiAssistant(const AiAssistant&) = delete;
  AiAssistant& operator=(const AiAssistant&) = delete;

  /// The dialog's first state: "Number of items: N" in the response box, STOP disabled, and in the
  /// errors box why the template file found was not loaded, if it was not.
  void Open();

  /// Send: with a rule and no group running, clears the results and starts group 0 of the names
  /// cut into groups of `groupSize` (below 1 counts as 1). False when nothing was started.
  bool Send(std::u16string rule, int groupSize);
  /// One message of a worker; messages of an earlier Send are ignored.
  void Handle(WorkerMessage message);
  /// STOP: "Stopping...", then `deliverPosted` hands over the messages already posted (so what
  /// arrived is shown), then the running group is cancelled and no further group starts; the
  /// response box then says how many pairs were parsed.
  void StopByUser(const std::function<void()>& deliverPosted);
  /// Cancels the running group and waits up to five seconds for its worker; a worker that does not
  /// end by then is left to end on its own ("Force stopping processing...").
  void StopProcessing();

  /// The server the next group is sent to.
  void SetServer(ChatServer server) { server_ = std::move(server); }

  /// The Template button: shows the template's text for editing, or, while editing, takes the
  /// box's text as the template (saving it to the user's folder when it changed) and lists the
  /// parsed pairs again. When the template file could not be loaded, it only says so again.
  void PressTemplate(std::u16string_view jsonBoxText);

  bool Busy() const { return busy_; }
  const std::vector<std::vector<RenamePair>>& ParsedGroups() const { return parsedGroups_; }
  /// How many files the parsed pairs give new names to (refused pairs left out, each file once).
  std::size_t ParsedCount() const;
  const PromptTemplate& Template() const { return prompt_; }

 private:
  /// What every worker of one Send reads; shared, never changed once made.
  struct Request {
    std::shared_ptr<const std::vector<RenamePair>> pairs;
    /// The names on disk by the texts sent for them, where those differ (see AiAssistant.cpp).
    std::unordered_map<std::u16string, std::u16string> namesOnDisk;
    PromptTemplate prompt;
    std::u16string rule;
    int groupSize = 1;
  };
  void ProcessGroup(std::size_t group);
  /// Shows the running group's answer text that waits (a Piece the display put off, or one
  /// that arrived with the group's end).
  void ShowStreamed();
  void OnGroupDone(std::size_t group);
  /// Adds a group's error to the errors box, below the errors before it.
  void AddError(std::size_t group, std::u16string_view text);
  static void RunGroup(const std::shared_ptr<const Request>& request, const std::shared_ptr<LlmClient>& client,
                       const std::shared_ptr<StreamedText>& streamed, std::size_t group, std::uint64_t run,
                       const Post& post);

  ChatServer server_;
  FileSystem& fileSystem_;
  AiDisplay& display_;
  Post post_;
  std::shared_ptr<const std::vector<RenamePair>> pairs_;
  PromptTemplate prompt_;
  std::shared_ptr<const Request> request_;  ///< of the last Send
  std::vector<std::vector<RenamePair>> parsedGroups_;
  bool streaming_ = false;  ///< the response box shows the running group's answer
  std::u16string errors_;   ///< every error of the last Send, one line each, for the errors box
  std::size_t group_ = 0;   ///< the group running or last run
  std::u16string templateText_;
  bool templateEditing_ = false;
  /// Why the template file found was not loaded; while it is not empty, the template is not edited.
  std::u16string templateRefusal_;
  bool busy_ = false;
  bool stopRequested_ = false;
  std::uint64_t run_ = 0;
  std::shared_ptr<LlmClient> client_;
  std::shared_ptr<StreamedText> streamed_;  ///< the running group's answer not shown yet
  std::unique_ptr<BackgroundTask> worker_;
};

}  // namespace nomvarix
