#pragma once

#include <mutex>
#include <string>
#include <string_view>

namespace nomvarix {

/// The answer text a worker has read and the dialog has not shown yet. The worker adds each piece
/// and posts a message only when the text was empty; the dialog takes all of it at once. However
/// finely the server cuts its answer, the response box is then added to only as often as the
/// dialog's thread comes round to it, and a piece costs that thread nothing of its own.
class StreamedText {
 public:
  /// Adds `text` at the end; true when nothing was waiting (a message must fetch it).
  bool Add(std::u16string_view text) {
    const std::lock_guard lock(mutex_);
    const bool wasEmpty = text_.empty();
    text_ += text;
    return wasEmpty && !text_.empty();
  }
  /// Everything added since the last Take, in order.
  std::u16string Take() {
    const std::lock_guard lock(mutex_);
    std::u16string taken;
    taken.swap(text_);
    return taken;
  }

 private:
  std::mutex mutex_;
  std::u16string text_;
};

}  // namespace nomvarix
