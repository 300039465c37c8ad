#include "support/FakeFileSystem.h"

#include <algorithm>

#include "platform/Path.h"
#include "text/AsciiCase.h"

namespace nomvarix::test {

void FakeFileSystem::AddFolder(const std::u16string& folder, const std::vector<std::u16string>& files) {
  auto& entries = folders_[folder];
  entries = {{u".", true, true}, {u"..", true, true}};
  for (const auto& file : files) entries.push_back({file, false, file.starts_with(u"."), ++lastId_});
}

void FakeFileSystem::AddEntry(const std::u16string& folder, Entry entry) {
  entry.id = ++lastId_;
  folders_[folder].push_back(std::move(entry));
}

void FakeFileSystem::MoveFolder(const std::u16string& from, const std::u16string& to) {
  auto node = folders_.extract(from);
  if (node.empty()) return;
  node.key() = to;
  folders_.insert(std::move(node));
}

bool FakeFileSystem::ForEachEntry(std::u16string_view folder,
                                  const std::function<void(const DirEntry&)>& visit) const {
  ++listings_;
  const auto it = folders_.find(folder);
  if (it == folders_.end()) return false;
  for (const Entry& entry : it->second) visit(DirEntry{entry.name, entry.isFolder, entry.isHidden, {1, entry.id}});
  return true;
}

bool FakeFileSystem::SameName(std::u16string_view a, std::u16string_view b) const {
  return caseInsensitive_ ? EqualsFolded(a, b) : a == b;
}

const FakeFileSystem::Entry* FakeFileSystem::Find(std::u16string_view path) const {
  const std::u16string folder = FolderOfPath(path);
  const auto it = folders_.find(folder);
  if (it == folders_.end()) return nullptr;
  const std::u16string_view name = path.substr(folder.size());
  for (const Entry& entry : it->second) {
    if (SameName(entry.name, name)) return &entry;
  }
  return nullptr;
}

FakeFileSystem::Entry* FakeFileSystem::Find(std::u16string_view path) {
  return const_cast<Entry*>(static_cast<const FakeFileSystem&>(*this).Find(path));
}

PathKind FakeFileSystem::KindOf(std::u16string_view path) const {
  ++pathQueries_;
  if (folders_.contains(WithTrailingSeparator(path))) return PathKind::Folder;
  const Entry* entry = Find(path);
  if (!entry) return PathKind::Missing;
  return entry->isFolder ? PathKind::Folder : PathKind::File;
}

bool FakeFileSystem::MayHaveSubfolder(std::u16string_view folder) const {
  const auto it = folders_.find(WithTrailingSeparator(folder));
  if (it == folders_.end()) return false;
  for (const Entry& entry : it->second) {
    if (entry.isFolder && entry.name != u"." && entry.name != u"..") return true;
  }
  return false;
}

bool FakeFileSystem::IsSameFile(std::u16string_view a, std::u16string_view b) const {
  ++pathQueries_;
  const Entry* first = Find(a);
  return first && first == Find(b);
}

std::optional<FileIdentity> FakeFileSystem::IdentityOf(std::u16string_view path) const {
  ++pathQueries_;
  const Entry* entry = Find(path);
  if (!entry) return std::nullopt;
  return FileIdentity{1, entry->id};
}

std::optional<FileStamp> FakeFileSystem::StampOf(std::u16string_view path) const {
  ++pathQueries_;
  const Entry* entry = Find(path);
  if (!entry) return std::nullopt;
  const auto attributes = attributes_.find(entry->id);
  return FileStamp{{1, entry->id}, attributes == attributes_.end() ? FileAttributes{} : attributes->second};
}

std::uint64_t FakeFileSystem::AddFile(const std::u16string& path, FileAttributes attributes, std::uint64_t inode) {
  const std::u16string folder = FolderOfPath(path);
  const std::u16string name = path.substr(folder.size());
  if (inode == 0) inode = ++lastId_;
  folders_[folder].push_back({name, false, name.starts_with(u"."), inode});
  attributes_[inode] = attributes;
  return inode;
}

bool FakeFileSystem::RemoveFile(const std::u16string& path) {
  const Entry* entry = Find(path);
  if (!entry) return false;
  auto& entries = folders_[FolderOfPath(path)];
  entries.erase(entries.begin() + (entry - entries.data()));
  return true;
}

bool FakeFileSystem::AddHardLink(const std::u16string& path, const std::u16string& link) {
  const Entry* entry = Find(path);
  if (!entry || Find(link)) return false;
  Entry copy = *entry;
  copy.name = link.substr(FolderOfPath(link).size());
  folders_[FolderOfPath(link)].push_back(std::move(copy));
  return true;
}

void FakeFileSystem::Renumber(const std::map<std::uint64_t, std::uint64_t>& renumbered) {
  std::map<std::uint64_t, FileAttributes> attributes;
  for (const auto& [inode, value] : attributes_) {
    const auto it = renumbered.find(inode);
    attributes[it == renumbered.end() ? inode : it->second] = value;
  }
  attributes_ = std::move(attributes);
  for (auto& [folder, entries] : folders_) {
    for (Entry& entry : entries) {
      if (const auto it = renumbered.find(entry.id); it != renumbered.end()) entry.id = it->second;
    }
  }
}

void FakeFileSystem::SetAttributes(const std::u16string& path, FileAttributes attributes) {
  if (const Entry* entry = Find(path)) attributes_[entry->id] = attributes;
}

std::uint64_t FakeFileSystem::InodeOf(const std::u16string& path) const {
  const Entry* entry = Find(path);
  return entry ? entry->id : 0;
}

RenameResult FakeFileSystem::RenameNoReplace(std::u16string_view from, std::u16string_view to) {
  if (beforeRename) beforeRename(from, to);
  Entry* source = Find(from);
  if (!source || FolderOfPath(from) != FolderOfPath(to)) return RenameResult::Failed;
  if (Find(to)) return RenameResult::TargetExists;
  const std::u16string_view name = to.substr(FolderOfPath(to).size());
  if (name.empty() || name.find(u'/') != std::u16string_view::npos) return RenameResult::Failed;
  source->name = std::u16string(name);
  return RenameResult::Renamed;
}

std::optional<FileClock::time_point> FakeFileSystem::CreationTime(std::u16string_view path) const {
  const auto it = created_.find(path);
  if (it == created_.end()) return std::nullopt;
  return it->second;
}

std::unique_ptr<ReadableFile> FakeFileSystem::OpenRegularFile(std::u16string_view path) const {
  // A copy of the file's bytes, counting what is read.
  class MemoryFile final : public ReadableFile {
   public:
    MemoryFile(std::string bytes, Tally<std::size_t>& bytesRead) : bytes_(std::move(bytes)), bytesRead_(bytesRead) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    std::optional<std::string> ReadAt(std::uint64_t offset, std::size_t count) const override {
      std::string part = bytes_.substr(static_cast<std::size_t>(std::min<std::uint64_t>(offset, bytes_.size())), count);
      bytesRead_ += part.size();
      return part;
    }

   private:
    std::string bytes_;
    Tally<std::size_t>& bytesRead_;
  };
  const auto it = contents_.find(path);
  if (it == contents_.end()) return nullptr;
  ++fileOpens_;
  return std::make_unique<MemoryFile>(it->second, bytesRead_);
}

std::optional<std::string> FakeFileSystem::ReadWholeFile(std::u16string_view path, std::size_t maxBytes) const {
  ++wholeFileReads_;
  const auto it = contents_.find(path);
  if (it == contents_.end() || it->second.size() > maxBytes) return std::nullopt;
  return it->second;
}

bool FakeFileSystem::WriteWholeFile(std::u16string_view path, std::string_view bytes) {
  const auto folder = folders_.find(FolderOfPath(path));
  if (folder == folders_.end()) return false;
  if (!Find(path)) folder->second.push_back({std::u16string(path.substr(FolderOfPath(path).size())), false, false});
  contents_[std::u16string(path)] = std::string(bytes);
  return true;
}

std::vector<std::u16string> FakeFileSystem::FileNames(const std::u16string& folder) const {
  std::vector<std::u16string> names;
  const auto it = folders_.find(folder);
  if (it == folders_.end()) return names;
  for (const Entry& entry : it->second) {
    if (!entry.isFolder) names.push_back(entry.name);
  }
  return names;
}

std::u16string FakeFileSystem::AbsolutePath(std::u16string_view path) const {
  return path.starts_with(u"/") ? std::u16string(path) : u"/cwd/" + std::u16string(path);
}

}  // namespace nomvarix::test
