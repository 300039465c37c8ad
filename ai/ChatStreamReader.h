#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace nomvarix {

/// Reads the answer of one chat-completions request as it arrives: an event stream ("data:" lines,
/// each holding one JSON chunk), or, when the server did not stream, one JSON completion, or an
/// HTTP error. Pieces of answer text go to the handler in arrival order; the last failure is kept
/// as a text. It knows nothing of the transfer itself, so any source of bytes can feed it.
class ChatStreamReader {
 public:
  using PieceHandler = std::function<void(std::string_view piece)>;

  /// `cancel`, when given and set, makes the reader ignore what arrives from then on.
  explicit ChatStreamReader(PieceHandler onPiece, const std::atomic<bool>* cancel = nullptr);

  /// The HTTP status, once the answer's headers are known; from 400 on the body is an error text.
  void SetStatus(long status) { status_ = status; }
  /// One block of received bytes, cut anywhere.
  void Receive(std::string_view bytes);
  /// The transfer ended without a transfer error: reads a body that was not a stream and notes an
  /// answer that ended early.
  void Finish();

  /// The answer text so far: the pieces joined (UTF-8).
  const std::string& Answer() const { return answer_; }
  /// The last failure; empty when none.
  const std::string& LastError() const { return lastError_; }
  /// The answer was given up (an event or the whole answer too large to be one): the transfer
  /// should stop, and LastError says why.
  bool GaveUp() const { return gaveUp_; }

 private:
  /// Reads the complete events at the start of the pending bytes and drops what they used.
  void ReadEvents();
  /// One "data:" payload that holds a JSON value (or "[DONE]"); false when the rest of the block
  /// is to be dropped.
  bool HandleEvent(std::string_view event);
  /// A JSON chunk: its piece of text, its end marks, its error.
  bool HandleChunk(std::string_view text);
  /// The lines between events: an "error:" field is a failure (older servers send one).
  void ReadFieldLines(std::string_view lines);
  void AddPiece(const std::string& piece);
  void GiveUp(const char* reason);
  void ReadWholeBody();
  void ReadErrorBody();

  PieceHandler onPiece_;
  const std::atomic<bool>* cancel_;
  long status_ = 0;
  std::string pending_;  ///< bytes received but not yet read
  /// Reading resumes where it stopped: in the payload of an event that began in pending_, whose
  /// line end is searched for from searchFrom_, or else in the search for the next marker from
  /// searchFrom_.
  std::optional<std::size_t> payloadStart_;
  std::size_t searchFrom_ = 0;
  std::string body_;     ///< the start of a body that held no event (for errors and plain answers)
  std::string answer_;
  std::string lastError_;
  std::string refusal_;   ///< what the model said instead of answering
  bool sawEvent_ = false;
  bool done_ = false;      ///< "[DONE]" came, or reading was given up: nothing more is read
  bool finished_ = false;  ///< "[DONE]" or a finish reason came
  bool cutShort_ = false;  ///< the finish reason was the token limit
  bool gaveUp_ = false;
};

}  // namespace nomvarix
