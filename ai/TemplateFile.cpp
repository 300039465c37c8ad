#include "ai/TemplateFile.h"

#include <memory>

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr std::u16string_view kProductFolder = u"Nomvarix";
constexpr std::u16string_view kDataFolder = u"data";
/// The folder under the XDG data home: lower case, as programs name theirs there.
constexpr std::u16string_view kDataHomeFolder = u"nomvarix";
constexpr std::u16string_view kTemplateFile = u"template.txt";
/// A template is a page of text; a larger file is not one.
constexpr std::size_t kMaxDataFileBytes = 16 * 1024 * 1024;

/// Creates `folder` and each missing folder above it, top down.
void CreateFolderAndParents(FileSystem& fileSystem, const std::u16string& folder) {
  if (folder.empty() || fileSystem.KindOf(folder) == PathKind::Folder) return;
  const std::u16string parent = FolderOfPath(std::u16string_view(folder).substr(0, folder.size() - 1));
  if (parent.size() < folder.size()) CreateFolderAndParents(fileSystem, parent);
  fileSystem.CreateFolder(folder);
}

}  // namespace

UserDataFolders ResolveDataFolders(FileSystem& fileSystem) {
  const std::u16string program = WithTrailingSeparator(JoinPath(fileSystem.ProgramFolder(), kDataFolder));
  const std::u16string product = WithTrailingSeparator(JoinPath(fileSystem.DocumentsFolder(), kProductFolder));
  const std::u16string dataHome = fileSystem.DataHomeFolder();
  if (dataHome.empty() || fileSystem.KindOf(product) == PathKind::Folder) {
    // The documents folder itself is the user's: it is never made here.
    const std::u16string user = WithTrailingSeparator(JoinPath(product, kDataFolder));
    fileSystem.CreateFolder(product);
    fileSystem.CreateFolder(user);
    return {user, program};
  }
  const std::u16string user = WithTrailingSeparator(JoinPath(dataHome, kDataHomeFolder));
  CreateFolderAndParents(fileSystem, user);
  return {user, program};
}

std::optional<std::u16string> ReadUtf8File(const FileSystem& fileSystem, std::u16string_view path) {
  const std::optional<std::string> bytes = fileSystem.ReadWholeFile(path, kMaxDataFileBytes);
  if (!bytes) return std::nullopt;
  return FromUtf8(std::string_view(*bytes).substr(0, bytes->find('\0')));
}

bool WriteUtf8File(FileSystem& fileSystem, std::u16string_view path, std::u16string_view text) {
  return fileSystem.WriteWholeFile(path, ToUtf8(text));
}

TemplateLoad LoadTemplate(FileSystem& fileSystem) {
  const UserDataFolders folders = ResolveDataFolders(fileSystem);
  for (const std::u16string& folder : {folders.user, folders.program}) {
    const std::u16string path = JoinPath(folder, kTemplateFile);
    if (fileSystem.KindOf(path) != PathKind::File) continue;
    if (const std::optional<std::u16string> text = ReadUtf8File(fileSystem, path)) return {ParseTemplate(*text), {}};
    const std::unique_ptr<ReadableFile> file = fileSystem.OpenRegularFile(path);
    const bool tooLarge = file && file->Size() > kMaxDataFileBytes;
    return {std::nullopt, u"The prompt template " + path +
                              (tooLarge ? u" is larger than 16 MB" : u" could not be read") +
                              u" and was not loaded; the built-in template is used, and the file is left as it is."};
  }
  return {};
}

bool SaveTemplateText(FileSystem& fileSystem, std::u16string_view text) {
  return WriteUtf8File(fileSystem, JoinPath(ResolveDataFolders(fileSystem).user, kTemplateFile), text);
}

}  // namespace nomvarix
