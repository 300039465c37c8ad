#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace nomvarix {

/// One recorded key press or release, by its Windows virtual-key code.
struct KeyEvent {
  std::int32_t virtualKey = 0;
  bool down = false;
  /// The character the press typed, so that playback types it on any keyboard layout; 0 for a
  /// release, a key that typed none, or a macro file that does not say.
  char16_t character = 0;

  bool operator==(const KeyEvent&) const = default;
};

/// A key press or release as the recording hook sees it.
struct KeyStroke {
  /// The keyboard's own code for the key: a press and its release share it, whatever the layout
  /// and the modifiers make of the key's virtual-key code meanwhile.
  std::uint32_t physicalKey = 0;
  std::int32_t virtualKey = 0;  ///< 0 for a key without one
  bool altDown = false;         ///< with Alt: a system key
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
  /// A key pressed in the editor while recording. System keys (with Alt, or Alt itself) and keys
  /// without a virtual-key code are not recorded.
  void RecordPress(const KeyStroke& key);
  /// A key released: recorded with the code its press was recorded with, so that the two match.
  void RecordRelease(const KeyStroke& key);
  /// The character that the last recorded press of `physicalKey` typed; it arrives after the press.
  void RecordCharacter(std::uint32_t physicalKey, char16_t character);
  /// The events of a loaded file; recording ends.
  void Replace(std::vector<KeyEvent> events);

 private:
  /// The virtual-key code the press of each held key was recorded with.
  std::unordered_map<std::uint32_t, std::int32_t> heldKeys_;
  /// The last recorded press, by its index in `events_` and its physical key.
  std::optional<std::pair<std::size_t, std::uint32_t>> lastPress_;
  std::vector<KeyEvent> events_;
  bool recording_ = false;
};

}  // namespace nomvarix
