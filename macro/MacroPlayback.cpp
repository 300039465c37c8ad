#include "macro/MacroPlayback.h"

#include <string>
#include <utility>

#include "editor/VirtualKey.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr std::int32_t kReleasedModifiers[] = {vk::kShift, vk::kControl, vk::kMenu};

}  // namespace

MacroPlayback::MacroPlayback(std::vector<KeyEvent> events) : events_(std::move(events)) {}

std::optional<KeyEvent> MacroPlayback::Next() {
  if (!stopped_ && played_ < events_.size()) return events_[played_++];
  if (releasesPlayed_ < std::size(kReleasedModifiers)) return KeyEvent{kReleasedModifiers[releasesPlayed_++], false};
  return std::nullopt;
}

bool MacroPlayback::Ended() const {
  return (stopped_ || played_ == events_.size()) && releasesPlayed_ == std::size(kReleasedModifiers);
}

std::u16string MacroPlayback::ProgressText() const {
  if (events_.size() < kProgressEvents) return {};
  return u"Playing the macro: " + FromUtf8(std::to_string(played_)) + u" of " + FromUtf8(std::to_string(events_.size())) +
         u" keys (Esc stops)";
}

void MacroPlayback::NoteInjected(const KeyEvent& event) {
  if (event.down && event.virtualKey == vk::kEscape) ++injectedEscapes_;
}

bool MacroPlayback::TakeInjectedEscape() {
  if (injectedEscapes_ == 0) return false;
  --injectedEscapes_;
  return true;
}

}  // namespace nomvarix
