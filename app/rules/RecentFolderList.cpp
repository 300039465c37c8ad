#include "app/rules/RecentFolderList.h"

#include <algorithm>

#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

std::u16string KeyOf(std::size_t index) {
  const std::string key = "File" + std::to_string(index + 1);
  return std::u16string(key.begin(), key.end());
}

bool SameFolder(std::u16string_view a, std::u16string_view b) {
#ifdef _WIN32
  return EqualsFolded(a, b);
#else
  return a == b;
#endif
}

}  // namespace

RecentFolderList::RecentFolderList(SettingsStore& settings) : settings_(settings) {
  for (std::size_t i = 0; i < kCapacity; ++i) {
    std::u16string folder = settings_.ReadString(KeyOf(i), u"", settings::kRecentSection);
    if (!folder.empty()) folders_.push_back(std::move(folder));
  }
}

void RecentFolderList::Add(std::u16string_view folder) {
  if (folder.empty()) return;
  std::erase_if(folders_, [&](const std::u16string& f) { return SameFolder(f, folder); });
  folders_.insert(folders_.begin(), std::u16string(folder));
  if (folders_.size() > kCapacity) folders_.resize(kCapacity);
  Store();
}

void RecentFolderList::RemoveAt(std::size_t index) {
  if (index >= folders_.size()) return;
  folders_.erase(folders_.begin() + static_cast<std::ptrdiff_t>(index));
  Store();
}

void RecentFolderList::Store() {
  for (std::size_t i = 0; i < kCapacity; ++i) {
    settings_.WriteString(KeyOf(i), i < folders_.size() ? folders_[i] : std::u16string(),
                          settings::kRecentSection);
  }
}

}  // namespace nomvarix
