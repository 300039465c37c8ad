#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

/// The names a folder listing held that are no line of the list: "." and "..", folders, hidden
/// entries, and files the filter left out. They take their names on disk as much as the lines'
/// files do, and are kept one after another in one buffer.
class UnlistedEntries {
 public:
  void Clear() {
    text_.clear();
    ends_.clear();
  }
  void Add(std::u16string_view name) {
    text_.append(name);
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  }
  std::size_t Count() const { return ends_.size(); }
  /// The name of entry `i` (0 ≤ i < Count()), valid until the next Add or Clear.
  std::u16string_view Name(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::u16string_view(text_).substr(begin, ends_[i] - begin);
  }

 private:
  std::u16string text_;
  std::vector<std::uint32_t> ends_;
};

}  // namespace nomvarix
