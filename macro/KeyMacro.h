#pragma once

#include <cstdint>
#include <vector>

namespace nomvarix {

/// One recorded key press or release, by its Windows virtual-key code.
struct KeyEvent {
  std::int32_t virtualKey = 0;
  bool down = false;

  bool operator==(const KeyEvent&) const = default;
};

/// The one keyboard macro: the key presses and releases recorded in the editor, in order.
class KeyMacro {
 public:
  const std::vector<KeyEvent>& Events() const { return events_; }
  bool Recording() const { return recording_; }
  bool CanPlay() const { return !recording_ && !events_.empty(); }

  /// Drops the old events and starts recording.
  void StartRecording();
  void StopRecording() { recording_ = false; }
  /// Adds an event while recording; a held key's repeats (the same key and state as the last
  /// event) are recorded once.
  void Record(KeyEvent event);
  /// The events of a loaded file; recording ends.
  void Replace(std::vector<KeyEvent> events);

 private:
  std::vector<KeyEvent> events_;
  bool recording_ = false;
};

}  // namespace nomvarix
