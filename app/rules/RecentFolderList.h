#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

class SettingsStore;

/// The recent-folders list: at most 8 folders, the most recent first, kept in the settings
/// section "Recent File List" as "File1".."File8" and written whenever it changes.
class RecentFolderList {
 public:
  static constexpr std::size_t kCapacity = 8;

  explicit RecentFolderList(SettingsStore& settings);

  const std::vector<std::u16string>& Folders() const { return folders_; }
  /// Puts `folder` in front; an equal entry further down is removed, the ninth falls off.
  void Add(std::u16string_view folder);
  /// Removes the entry at `index` (one that could not be opened); out of range does nothing.
  void RemoveAt(std::size_t index);

 private:
  void Store();

  SettingsStore& settings_;
  std::vector<std::u16string> folders_;
};

}  // namespace nomvarix
