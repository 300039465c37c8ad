#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

class SettingsStore;

/// The recent-folders list: at most 8 folders, the most recent first, kept in the settings
/// section "Recent File List" as "File1".."File8" and written whenever it changes. Each change is
/// made to the list as stored at that moment, so that programs running side by side keep each
/// other's folders.
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
  /// Makes `change` to the list as it is stored now and stores the result.
  void Update(const std::function<void(std::vector<std::u16string>&)>& change);

  SettingsStore& settings_;
  std::vector<std::u16string> folders_;
};

}  // namespace nomvarix
