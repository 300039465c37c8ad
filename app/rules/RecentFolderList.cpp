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
  Update([&](std::vector<std::u16string>& folders) {
    std::erase_if(folders, [&](const std::u16string& f) { return SameFolder(f, folder); });
    folders.insert(folders.begin(), std::u16string(folder));
  });
}

void RecentFolderList::RemoveAt(std::size_t index) {
  if (index >= folders_.size()) return;
  const std::u16string gone = folders_[index];
  Update([&](std::vector<std::u16string>& folders) {
    std::erase_if(folders, [&](const std::u16string& f) { return SameFolder(f, gone); });
  });
}

void RecentFolderList::Update(const std::function<void(std::vector<std::u16string>&)>& change) {
  // The list as it is stored now: another running program may have put its folders in front.
  std::vector<std::u16string> keys;
  for (std::size_t i = 0; i < kCapacity; ++i) keys.push_back(KeyOf(i));
  std::vector<std::u16string> stored;
  settings_.UpdateStrings(settings::kRecentSection, keys, [&](std::vector<std::u16string>& values) {
    std::vector<std::u16string> folders;
    for (std::u16string& value : values) {
      if (!value.empty()) folders.push_back(std::move(value));
    }
    change(folders);
    if (folders.size() > kCapacity) folders.resize(kCapacity);
    values = folders;
    values.resize(kCapacity);
  }, stored);
  std::erase_if(stored, [](const std::u16string& folder) { return folder.empty(); });
  folders_ = std::move(stored);
}

}  // namespace nomvarix
