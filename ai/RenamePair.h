#pragma once

#include <string>

namespace nomvarix {

/// A file's name on disk and the name the model gave it (or the editor's new name before that).
struct RenamePair {
  std::u16string original;
  std::u16string renamed;

  bool operator==(const RenamePair&) const = default;
};

}  // namespace nomvarix
