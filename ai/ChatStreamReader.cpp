#include "ai/ChatStreamReader.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "ai/BoundedJson.h"
#include "ai/JsonExtent.h"
#include "ai/Utf8Cleaning.h"

namespace nomvarix {
namespace {

using nlohmann::json;

constexpr std::string_view kDataField = "data:";
constexpr std::string_view kErrorField = "error:";
constexpr std::string_view kLineEnds = "\r\n";
/// An error page, or a body that is one completion, is read up to this many bytes.
constexpr std::size_t kMaxBodyBytes = 1 << 20;
/// A single event larger than this is not an answer chunk: the stream is given up.
constexpr std::size_t kMaxPendingBytes = 4 << 20;
/// No list of names comes near this; an answer that grows beyond it is given up.
constexpr std::size_t kMaxAnswerBytes = 4 << 20;
/// Of a body that is not JSON, of a raw chunk and of an error value, the error text shows this much.
constexpr std::size_t kBodyExcerptBytes = 500;

constexpr const char* kEndedEarly = "The answer ended before the server finished it.";
constexpr const char* kCutShort = "The answer was cut short: the server's token limit was reached.";
constexpr const char* kEventTooLarge = "The server's answer could not be read: one event is too large.";
constexpr const char* kAnswerTooLarge = "The answer is larger than 4 MB, more than any list of names: it was stopped.";

std::string_view TrimmedBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

void AppendCapped(std::string& to, std::string_view bytes, std::size_t cap) {
  if (to.size() < cap) to.append(bytes.substr(0, cap - to.size()));
}

/// The message of an "error" value: its "message" when it is an object holding one, the text
/// when it is a string, else the value as JSON.
std::string ErrorMessageOf(const json& error) {
  if (error.is_string()) return error.get<std::string>();
  if (error.is_object()) {
    const auto message = error.find("message");
    if (message != error.end() && message->is_string()) return message->get<std::string>();
  }
  return error.dump().substr(0, kBodyExcerptBytes);
}

/// "JSON Parse Error: " with the reason and the start of the chunk.
std::string ParseErrorText(const json::exception& error, std::string_view chunk) {
  return std::string("JSON Parse Error: ") + error.what() + "\nRaw chunk: " + std::string(chunk.substr(0, kBodyExcerptBytes));
}

/// The string at `key`; empty for a missing or null member; throws for any other kind.
std::string StringMember(const json& object, const char* key) {
  const auto member = object.find(key);
  if (member == object.end() || member->is_null()) return {};
  return member->get<std::string>();
}

bool HasElements(const json& value) {
  return !value.is_null() && !((value.is_array() || value.is_object()) && value.empty());
}

/// The piece of answer text of a streamed choice: "delta"."content", else "text".
std::string PieceOf(const json& choice) {
  if (!choice.is_object()) return {};
  const auto delta = choice.find("delta");
  if (delta != choice.end() && delta->is_object() && delta->contains("content")) return StringMember(*delta, "content");
  return StringMember(choice, "text");
}

/// The text of an HTML page's <title>, white space run together; empty when it has none.
std::string HtmlTitleOf(std::string_view page) {
  std::string lowered(page.substr(0, 4096));
  for (char& c : lowered) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  const std::size_t open = lowered.find("<title>");
  const std::size_t close = lowered.find("</title>", open);
  if (open == std::string::npos || close == std::string::npos) return {};
  std::string title;
  for (const char c : CleanUtf8(page.substr(open + 7, close - open - 7))) {
    const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (!blank) {
      title += c;
    } else if (!title.empty() && title.back() != ' ') {
      title += ' ';
    }
  }
  if (!title.empty() && title.back() == ' ') title.pop_back();
  return title;
}

}  // namespace

ChatStreamReader::ChatStreamReader(PieceHandler onPiece, const std::atomic<bool>* cancel)
    : onPiece_(std::move(onPiece)), cancel_(cancel) {}

void ChatStreamReader::Receive(std::string_view bytes) {
  if ((cancel_ && cancel_->load()) || done_) return;
  if (status_ >= 400) {
    AppendCapped(body_, bytes, kMaxBodyBytes);
    return;
  }
  if (!sawEvent_) AppendCapped(body_, bytes, kMaxBodyBytes);
  pending_.append(bytes);
  ReadEvents();
  if (pending_.size() > kMaxPendingBytes) GiveUp(kEventTooLarge);
}

void ChatStreamReader::GiveUp(const char* reason) {
  lastError_ = reason;
  pending_.clear();
  done_ = gaveUp_ = true;
}

void ChatStreamReader::ReadEvents() {
  const std::string_view text = pending_;
  std::size_t pos = 0;  // what lies before has been read
  while (pos < text.size() && !done_) {
    if (payloadStart_) {
      // A payload is read once its line is complete, and ends there whatever it holds: a JSON value
      // cut short must not take the events after it along.
      const std::size_t lineEnd = text.find_first_of(kLineEnds, searchFrom_);
      if (lineEnd == std::string_view::npos) {
        searchFrom_ = text.size();
        break;
      }
      const std::string_view payload = text.substr(*payloadStart_, lineEnd - *payloadStart_);
      const JsonExtent extent = FindJsonEnd(payload);
      // After a whole value the rest of the line is searched for the next marker.
      pos = searchFrom_ = extent.kind == JsonExtent::Kind::Found ? *payloadStart_ + extent.length : lineEnd;
      payloadStart_.reset();
      if (extent.kind == JsonExtent::Kind::NotJson) continue;  // skipped
      // A cut value is read all the same, so that its error is reported.
      const std::size_t length = extent.kind == JsonExtent::Kind::Found ? extent.length : payload.size();
      if (!HandleEvent(TrimmedBlanks(payload.substr(0, length)))) {
        pos = searchFrom_ = text.size();  // the rest of the block is dropped
        break;
      }
      continue;
    }
    // What lies before searchFrom_ was searched before: it holds no marker and no line end.
    const std::size_t from = std::max(pos, searchFrom_);
    const std::size_t data = text.find(kDataField, from);
    if (data == std::string_view::npos) {
      // Whole lines without an event; an unfinished last line may still become one.
      const std::size_t lastLineEnd = text.substr(from).find_last_of(kLineEnds);
      const std::size_t end = lastLineEnd == std::string_view::npos ? pos : from + lastLineEnd + 1;
      ReadFieldLines(text.substr(pos, end - pos));
      pos = end;
      // A marker may be cut at the block's end: its start is looked for again.
      searchFrom_ = std::max(pos, text.size() - std::min(text.size(), kDataField.size() - 1));
      break;
    }
    ReadFieldLines(text.substr(pos, data - pos));
    pos = data;
    payloadStart_ = data + kDataField.size();
    searchFrom_ = *payloadStart_;
  }
  // Positions count from the first byte kept.
  pending_.erase(0, pos);
  if (payloadStart_) *payloadStart_ -= pos;
  searchFrom_ -= std::min(searchFrom_, pos);
}

bool ChatStreamReader::HandleEvent(std::string_view event) {
  if (cancel_ && cancel_->load()) return false;
  if (event.empty()) return true;
  sawEvent_ = true;
  body_.clear();
  if (event == "[DONE]") {
    done_ = finished_ = true;
    return false;
  }
  return HandleChunk(event);
}

bool ChatStreamReader::HandleChunk(std::string_view text) {
  try {
    const json chunk = ParseBoundedJson(AsValidUtf8(text));
    if (!chunk.is_object()) return true;
    std::string piece;
    if (const auto choices = chunk.find("choices"); choices != chunk.end() && HasElements(*choices)) {
      const json& choice = choices->at(0);
      piece = PieceOf(choice);
      if (choice.is_object()) {
        const std::string reason = StringMember(choice, "finish_reason");
        if (!reason.empty()) finished_ = true;
        if (reason == "length") cutShort_ = true;
        if (choice.contains("delta") && choice["delta"].is_object()) refusal_ += StringMember(choice["delta"], "refusal");
      }
    }
    AddPiece(piece);
    // An error ends the answer even when the chunk also carries a choice: what follows it would
    // otherwise depend on how the network cut the stream.
    if (const auto error = chunk.find("error"); error != chunk.end() && !error->is_null()) {
      lastError_ = ErrorMessageOf(*error);
      done_ = true;
      return false;
    }
  } catch (const json::exception& error) {
    lastError_ = ParseErrorText(error, text);
  }
  return true;
}

void ChatStreamReader::ReadFieldLines(std::string_view lines) {
  while (!lines.empty()) {
    const std::size_t end = lines.find_first_of(kLineEnds);
    const std::string_view line = lines.substr(0, end);
    lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
    if (line.substr(0, kErrorField.size()) != kErrorField) continue;
    const std::string payload(TrimmedBlanks(line.substr(kErrorField.size())));
    const json error = ParseBoundedJson(AsValidUtf8(payload), false);
    lastError_ = error.is_discarded() ? payload : ErrorMessageOf(error);
  }
}

void ChatStreamReader::AddPiece(const std::string& piece) {
  if (piece.empty() || gaveUp_) return;
  if (answer_.size() + piece.size() > kMaxAnswerBytes) {
    GiveUp(kAnswerTooLarge);
    return;
  }
  answer_ += piece;
  if (onPiece_) onPiece_(piece);
}

void ChatStreamReader::Finish() {
  if ((cancel_ && cancel_->load()) || gaveUp_) return;
  if (status_ >= 400) {
    ReadErrorBody();
    return;
  }
  if (payloadStart_ && !done_) {
    // The last event needs no line end.
    pending_ += '\n';
    ReadEvents();
  }
  if (!done_) ReadFieldLines(pending_);
  if (!sawEvent_) ReadWholeBody();
  if (!lastError_.empty()) return;
  if (!refusal_.empty() && answer_.empty()) {
    lastError_ = "The model refused: " + refusal_;
  } else if (cutShort_) {
    lastError_ = kCutShort;
  } else if (sawEvent_ && !finished_) {
    lastError_ = kEndedEarly;
  }
}

void ChatStreamReader::ReadWholeBody() {
  const std::string_view body = TrimmedBlanks(body_);
  if (body.empty()) {
    if (lastError_.empty()) lastError_ = "The server sent an empty answer.";
    return;
  }
  if (body.front() != '{') {
    if (lastError_.empty()) lastError_ = "The server's answer is not a chat completion: " + std::string(body.substr(0, kBodyExcerptBytes));
    return;
  }
  // A server that does not stream answers with one completion.
  try {
    const json completion = ParseBoundedJson(AsValidUtf8(body));
    if (const auto error = completion.find("error"); error != completion.end() && !error->is_null()) {
      lastError_ = ErrorMessageOf(*error);
      return;
    }
    const json& choice = completion.at("choices").at(0);
    const auto message = choice.find("message");
    AddPiece(message != choice.end() && message->is_object() ? StringMember(*message, "content")
                                                             : StringMember(choice, "text"));
    sawEvent_ = true;
    finished_ = true;
    cutShort_ = StringMember(choice, "finish_reason") == "length";
  } catch (const json::exception& error) {
    lastError_ = ParseErrorText(error, body);
  }
}

void ChatStreamReader::ReadErrorBody() {
  std::string message;
  const std::string_view body = TrimmedBlanks(body_);
  const json value = ParseBoundedJson(AsValidUtf8(body), false);
  if (value.is_object() && value.contains("error") && !value["error"].is_null()) {
    message = ErrorMessageOf(value["error"]);
  } else if (value.is_object() && value.contains("message") && value["message"].is_string()) {
    message = value["message"].get<std::string>();
  } else if (body.starts_with('<')) {
    message = HtmlTitleOf(body);  // a proxy's error page: its title is its status line
  } else {
    message = CleanUtf8(body.substr(0, kBodyExcerptBytes));
  }
  lastError_ = "HTTP " + std::to_string(status_) + (message.empty() ? "" : ": " + message);
}

}  // namespace nomvarix
