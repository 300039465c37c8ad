#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "macro/KeyMacro.h"

namespace nomvarix {

/// One run of a macro's events, handed out a key at a time so that the program keeps answering
/// between keys: the user can stop it, and closing the window ends it. After the last event (or
/// after a stop) come the releases of Shift, Ctrl and Alt, so that no modifier stays pressed
/// whatever the macro ended with.
class MacroPlayback {
 public:
  /// Macros of at least this many events show their progress.
  static constexpr std::size_t kProgressEvents = 2000;

  explicit MacroPlayback(std::vector<KeyEvent> events);

  /// The next key to play; nothing once the playback has ended.
  std::optional<KeyEvent> Next();
  /// Ends the playback before its next event; only the modifier releases are still handed out.
  void Stop() { stopped_ = true; }
  bool Stopped() const { return stopped_; }
  bool Ended() const;

  /// Events of the macro handed out so far, and their number in all.
  std::size_t Played() const { return played_; }
  std::size_t Total() const { return events_.size(); }
  /// "Playing the macro: 1,234 of 100,000 keys (Esc stops)" for a long macro; empty for a short one.
  std::u16string ProgressText() const;

  /// A played key went into the system's input stream, where the editor will see it like a key the
  /// user pressed.
  void NoteInjected(const KeyEvent& event);
  /// An Escape press reached the editor during playback: true when it was one of the playback's own
  /// injected keys, false when the user pressed it (and wants the playback stopped).
  bool TakeInjectedEscape();

 private:
  std::vector<KeyEvent> events_;
  std::size_t played_ = 0;
  std::size_t releasesPlayed_ = 0;
  std::size_t injectedEscapes_ = 0;
  bool stopped_ = false;
};

}  // namespace nomvarix
