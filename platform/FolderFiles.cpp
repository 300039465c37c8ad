#include "platform/FolderFiles.h"

#include "platform/FileSystem.h"

namespace nomvarix {
namespace {

class FolderFilesByPathImpl final : public FolderFiles {
 public:
  FolderFilesByPathImpl(FileSystem& fileSystem, std::u16string_view folder) : fs_(fileSystem), folder_(folder) {}

  bool EntryExists(std::u16string_view name) const override { return fs_.EntryExists(Path(name)); }
  bool IsSameFile(std::u16string_view a, std::u16string_view b) const override {
    return fs_.IsSameFile(Path(a), Path(b));
  }
  bool IsListableFile(std::u16string_view name) const override { return fs_.IsListableFile(Path(name)); }
  std::optional<FileIdentity> IdentityOfListableFile(std::u16string_view name) const override {
    return fs_.IdentityOfListableFile(Path(name));
  }
  RenameResult RenameNoReplace(std::u16string_view from, std::u16string_view to) override {
    return fs_.RenameNoReplace(Path(from), Path(to));
  }

 private:
  std::u16string Path(std::u16string_view name) const { return folder_ + std::u16string(name); }

  FileSystem& fs_;
  const std::u16string folder_;
};

}  // namespace

std::unique_ptr<FolderFiles> FolderFilesByPath(FileSystem& fileSystem, std::u16string_view folder) {
  return std::make_unique<FolderFilesByPathImpl>(fileSystem, folder);
}

std::unique_ptr<FolderFiles> FileSystem::OpenFolder(std::u16string_view folder) {
  return FolderFilesByPath(*this, folder);
}

}  // namespace nomvarix
