#include "ai/AiAssistant.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <unordered_map>
#include <unordered_set>

#include "ai/AnswerParsing.h"
#include "ai/BackgroundTask.h"
#include "ai/FileList.h"
#include "ai/RequestPayload.h"
#include "ai/StreamedText.h"
#include "ai/TemplateFile.h"
#include "platform/LineEnds.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr auto kStopWait = std::chrono::seconds(5);
/// The parsed pairs the listing shows; what lies beyond is counted on its last line.
constexpr std::size_t kListedPairs = 1000;

std::u16string Number(std::size_t value) { return FromUtf8(std::to_string(value)); }

/// "Number of items: %d, processed: %d".
std::u16string ItemsProcessed(std::size_t items, std::size_t processed) {
  return u"Number of items: " + Number(items) + u", processed: " + Number(processed);
}

/// The names on disk of the files whose text as sent (NameAsSent) holds U+FFFD, by that text; an
/// empty name where two files were sent as the same text. Only such texts can stand for two files:
/// every other name is sent as it is, and no two files share a name.
std::unordered_map<std::u16string, std::u16string> NamesOnDiskBySentText(const std::vector<RenamePair>& requestPairs) {
  std::unordered_map<std::u16string, std::u16string> onDisk;
  for (const RenamePair& request : requestPairs) {
    std::u16string sent = NameAsSent(request.original);
    if (sent.find(u'\uFFFD') == std::u16string::npos) continue;
    const auto [it, added] = onDisk.emplace(std::move(sent), request.original);
    if (!added && it->second != request.original) it->second.clear();
  }
  return onDisk;
}

/// The pairs with each original that names a file by the text it was sent as turned back into the
/// name on disk; one whose text was sent for two files is refused, since it names neither.
std::vector<RenamePair> WithNamesOnDisk(std::vector<RenamePair> pairs,
                                        const std::unordered_map<std::u16string, std::u16string>& onDisk) {
  for (RenamePair& pair : pairs) {
    const auto it = onDisk.find(pair.original);
    if (it == onDisk.end()) continue;
    if (it->second.empty()) {
      pair.refusal = Refusal::SharedOriginal;
    } else {
      pair.original = it->second;
    }
  }
  return pairs;
}

}  // namespace

AiAssistant::AiAssistant(std::vector<RenamePair> requestPairs, ChatServer server, FileSystem& fileSystem,
                         AiDisplay& display, Post post)
    : server_(std::move(server)),
      fileSystem_(fileSystem),
      display_(display),
      post_(std::move(post)),
      pairs_(std::make_shared<const std::vector<RenamePair>>(std::move(requestPairs))),
      prompt_(DefaultTemplate()) {
  TemplateLoad loaded = LoadTemplate(fileSystem);
  if (loaded.prompt) prompt_ = std::move(*loaded.prompt);
  templateRefusal_ = std::move(loaded.refusal);
}

AiAssistant::~AiAssistant() { StopProcessing(); }

void AiAssistant::Open() {
  display_.ShowResponse(u"Number of items: " + Number(pairs_->size()));
  display_.EnableControls(true);
  if (!templateRefusal_.empty()) display_.ShowErrors(templateRefusal_);
}

std::size_t AiAssistant::ParsedCount() const {
  // A file named by the answers of several groups is one file processed.
  std::unordered_set<std::u16string_view> files;
  for (const auto& group : parsedGroups_) {
    for (const RenamePair& pair : group) {
      if (!pair.IsRefused()) files.insert(pair.original);
    }
  }
  return files.size();
}

bool AiAssistant::Send(std::u16string rule, int groupSize) {
  if (busy_ || rule.empty()) return false;
  stopRequested_ = false;
  parsedGroups_.clear();
  errors_.clear();
  ++run_;  // messages of earlier runs, from a worker that was left to end, are ignored from now on
  request_ = std::make_shared<const Request>(
      Request{pairs_, NamesOnDiskBySentText(*pairs_), prompt_, std::move(rule), groupSize});
  display_.ShowErrors(u"");
  display_.ShowJson(u"");
  display_.ShowResponse(u"Start Processing (Groups: " + Number(GroupCount(pairs_->size(), groupSize)) + u")");
  ProcessGroup(0);
  return true;
}

void AiAssistant::ProcessGroup(std::size_t group) {
  if (busy_) return;
  busy_ = true;
  display_.EnableControls(false);
  client_ = std::make_shared<LlmClient>(server_);
  streamed_ = std::make_shared<StreamedText>();
  streaming_ = false;
  group_ = group;
  worker_ = std::make_unique<BackgroundTask>([request = request_, client = client_, streamed = streamed_, group,
                                              run = run_, post = post_] { RunGroup(request, client, streamed, group, run, post); });
}

void AiAssistant::RunGroup(const std::shared_ptr<const Request>& request, const std::shared_ptr<LlmClient>& client,
                           const std::shared_ptr<StreamedText>& streamed, std::size_t group, std::uint64_t run,
                           const Post& post) {
  const auto send = [&](WorkerMessage::Kind kind, std::u16string text, std::vector<RenamePair> pairs = {}) {
    post(WorkerMessage{kind, run, group, std::move(text), std::move(pairs)});
  };
  try {
    client->AddMessages(TemplateMessages(request->prompt));
    const std::u16string user = BuildUserMessage(request->prompt, request->rule, *request->pairs, group, request->groupSize);
    const std::string answer = client->Chat(
        ToUtf8(user),
        [&](std::string_view piece) {
          if (streamed->Add(ToCrLfLineEnds(FromUtf8(piece)))) send(WorkerMessage::Kind::Piece, {});
        },
        [&](const std::string&, const std::string& error) {
          if (!error.empty()) send(WorkerMessage::Kind::Error, FromUtf8(error));
        },
        -1.0);
    if (!answer.empty()) {
      send(WorkerMessage::Kind::Parsed, {},
           WithNamesOnDisk(ParseAnswer(answer), request->namesOnDisk));
    }
  } catch (const std::exception& error) {
    send(WorkerMessage::Kind::Error, FromUtf8(error.what()));
  }
  send(WorkerMessage::Kind::GroupDone, {});
}

void AiAssistant::Handle(WorkerMessage message) {
  if (message.run != run_) return;
  switch (message.kind) {
    case WorkerMessage::Kind::Piece:
      ShowStreamed();
      break;
    case WorkerMessage::Kind::Error:
      AddError(message.group, message.text);
      break;
    case WorkerMessage::Kind::Parsed:
      ShowStreamed();
      if (!message.pairs.empty()) parsedGroups_.push_back(std::move(message.pairs));
      display_.ShowJson(ListParsedPairs(parsedGroups_, kListedPairs));
      break;
    case WorkerMessage::Kind::GroupDone:
      ShowStreamed();
      OnGroupDone(message.group);
      break;
  }
}

void AiAssistant::ShowStreamed() {
  const std::u16string text = streamed_ ? streamed_->Take() : std::u16string();
  // After STOP the box says so; what the stopped group still sent is not added below that.
  if (text.empty() || stopRequested_) return;
  // The group's first text replaces the line before it; the rest is added, so that a long
  // answer costs the box no more than its own length.
  if (streaming_) {
    display_.AppendResponse(text);
  } else {
    display_.ShowResponse(text);
    streaming_ = true;
  }
}

void AiAssistant::OnGroupDone(std::size_t group) {
  busy_ = false;
  worker_.reset();
  client_.reset();
  display_.EnableControls(true);
  if (stopRequested_) return;
  const std::size_t groups = GroupCount(pairs_->size(), request_->groupSize);
  if (group + 1 < groups) {
    display_.ShowResponse(u"Processing group: " + Number(group + 2) + u" of " + Number(groups));
    ProcessGroup(group + 1);
    return;
  }
  // A failure stays readable above the summary, or it would read as success.
  display_.ShowErrors(errors_ + u"Processing complete.\r\n" + ItemsProcessed(pairs_->size(), ParsedCount()));
}

void AiAssistant::AddError(std::size_t group, std::u16string_view text) {
  errors_ += u"Group " + Number(group + 1) + u": ";
  errors_ += text;
  errors_ += u"\r\n";
  display_.ShowErrors(errors_);
}

void AiAssistant::StopProcessing() {
  if (!busy_ || !client_) return;
  stopRequested_ = true;
  client_->Cancel();
  if (worker_ && !worker_->WaitFor(kStopWait)) {
    post_(WorkerMessage{WorkerMessage::Kind::Error, run_, group_, u"Force stopping processing...", {}});
  }
  busy_ = false;
  worker_.reset();  // a worker still running keeps its client to itself
  client_.reset();
  display_.EnableControls(true);
}

void AiAssistant::StopByUser(const std::function<void()>& deliverPosted) {
  if (!busy_) return;
  display_.ShowResponse(u"Stopping...");
  if (deliverPosted) deliverPosted();
  StopProcessing();
  display_.ShowResponse(u"Processing stopped by user.\r\n" + ItemsProcessed(pairs_->size(), ParsedCount()));
}

void AiAssistant::PressTemplate(std::u16string_view jsonBoxText) {
  // Editing would end in saving over the user's file, which was never loaded.
  if (!templateRefusal_.empty()) {
    display_.ShowErrors(templateRefusal_);
    return;
  }
  if (!templateEditing_) {
    templateEditing_ = true;
    templateText_ = SerializeTemplate(prompt_);
    display_.ShowTemplateCaption(u"Save");
    display_.ShowJson(templateText_);
    return;
  }
  if (jsonBoxText != templateText_) {
    templateText_ = jsonBoxText;
    SaveTemplateText(fileSystem_, templateText_);
    prompt_ = ParseTemplate(templateText_);
  }
  templateEditing_ = false;
  display_.ShowJson(u"Updated\r\n" + ListParsedPairs(parsedGroups_, kListedPairs));
  display_.ShowTemplateCaption(u"Template");
}

}  // namespace nomvarix
