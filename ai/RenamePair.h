#pragma once

#include <string>

namespace nomvarix {

/// A file's name on disk and the name the model gave it (or the editor's new name before that).
struct RenamePair {
  std::u16string original;
  std::u16string renamed;
  /// The model's name was refused (it holds a control or text-direction character): the pair is
  /// listed as such and never put into a line.
  bool refused = false;

  bool operator==(const RenamePair&) const = default;
};

}  // namespace nomvarix
