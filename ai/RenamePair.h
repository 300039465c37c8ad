#pragma once

#include <string>

namespace nomvarix {

/// Why a pair of the model's answer is listed but never put into a line.
enum class Refusal {
  None,
  /// The new name holds a control, invisible or text-direction character, or text that was not
  /// valid UTF-8.
  UnsafeName,
  /// Two files were sent under the original's text (NameAsSent): it names neither.
  SharedOriginal,
};

/// A file's name on disk and the name the model gave it (or the editor's new name before that).
struct RenamePair {
  std::u16string original;
  std::u16string renamed;
  Refusal refusal = Refusal::None;

  bool IsRefused() const { return refusal != Refusal::None; }
  bool operator==(const RenamePair&) const = default;
};

}  // namespace nomvarix
