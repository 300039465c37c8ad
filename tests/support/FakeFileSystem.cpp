#include "support/FakeFileSystem.h"

#include "platform/Path.h"

namespace nomvarix::test {

void FakeFileSystem::AddFolder(const std::u16string& folder, const std::vector<std::u16string>& files) {
  auto& entries = folders_[folder];
  entries = {{u".", true, true}, {u"..", true, true}};
  for (const auto& file : files) entries.push_back({file, false, file.starts_with(u".")});
}

void FakeFileSystem::AddEntry(const std::u16string& folder, Entry entry) {
  folders_[folder].push_back(std::move(entry));
}

bool FakeFileSystem::ForEachEntry(std::u16string_view folder,
                                  const std::function<void(const DirEntry&)>& visit) const {
  ++listings_;
  const auto it = folders_.find(folder);
  if (it == folders_.end()) return false;
  for (const Entry& entry : it->second) visit(DirEntry{entry.name, entry.isFolder, entry.isHidden});
  return true;
}

PathKind FakeFileSystem::KindOf(std::u16string_view path) const {
  if (folders_.contains(WithTrailingSeparator(path))) return PathKind::Folder;
  const std::u16string folder = FolderOfPath(path);
  const auto it = folders_.find(folder);
  if (it == folders_.end()) return PathKind::Missing;
  const std::u16string_view name = path.substr(folder.size());
  for (const Entry& entry : it->second) {
    if (entry.name == name) return entry.isFolder ? PathKind::Folder : PathKind::File;
  }
  return PathKind::Missing;
}

std::u16string FakeFileSystem::AbsolutePath(std::u16string_view path) const {
  return path.starts_with(u"/") ? std::u16string(path) : u"/cwd/" + std::u16string(path);
}

}  // namespace nomvarix::test
