#include "macro/KeyMacro.h"

#include <utility>

#include "editor/VirtualKey.h"

namespace nomvarix {

void KeyMacro::StartRecording() {
  events_.clear();
  heldKeys_.clear();
  lastPress_.reset();
  recording_ = true;
}

void KeyMacro::Record(KeyEvent event) {
  if (!recording_) return;
  const bool repeat = !events_.empty() && events_.back().virtualKey == event.virtualKey && events_.back().down == event.down;
  if (!repeat) events_.push_back(event);
}

void KeyMacro::RecordPress(const KeyStroke& key) {
  if (!recording_ || key.altDown || key.virtualKey == 0 || key.virtualKey == vk::kMenu) return;
  heldKeys_[key.physicalKey] = key.virtualKey;
  Record({key.virtualKey, true});
  lastPress_.emplace(events_.size() - 1, key.physicalKey);
}

void KeyMacro::RecordRelease(const KeyStroke& key) {
  if (!recording_) return;
  if (const auto held = heldKeys_.find(key.physicalKey); held != heldKeys_.end()) {
    Record({held->second, false});
    heldKeys_.erase(held);
  } else if (!key.altDown && key.virtualKey != 0 && key.virtualKey != vk::kMenu) {
    Record({key.virtualKey, false});  // pressed before the recording started
  }
}

void KeyMacro::RecordCharacter(std::uint32_t physicalKey, char16_t character) {
  if (!recording_ || !lastPress_ || lastPress_->second != physicalKey) return;
  KeyEvent& press = events_[lastPress_->first];
  // A held key's repeats type again; its press keeps the first character.
  if (press.character == 0) press.character = character;
}

void KeyMacro::Replace(std::vector<KeyEvent> events) {
  events_ = std::move(events);
  heldKeys_.clear();
  lastPress_.reset();
  recording_ = false;
}

}  // namespace nomvarix
