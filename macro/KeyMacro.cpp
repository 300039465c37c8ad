#include "macro/KeyMacro.h"

#include <utility>

namespace nomvarix {

void KeyMacro::StartRecording() {
  events_.clear();
  recording_ = true;
}

void KeyMacro::Record(KeyEvent event) {
  if (!recording_) return;
  if (!events_.empty() && events_.back() == event) return;
  events_.push_back(event);
}

void KeyMacro::Replace(std::vector<KeyEvent> events) {
  events_ = std::move(events);
  recording_ = false;
}

}  // namespace nomvarix
