#include "ai/TemplateFile.h"

#include <memory>

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr std::u16string_view kProductFolder = u"Nomvarix";
constexpr std::u16string_view kDataFolder = u"data";
constexpr std::u16string_view kTemplateFile = u"template.txt";
/// A template is a page of text; a larger file is not one.
constexpr std::size_t kMaxDataFileBytes = 16 * 1024 * 1024;

}  // namespace

UserDataFolders ResolveDataFolders(FileSystem& fileSystem) {
  const std::u16string product = WithTrailingSeparator(JoinPath(fileSystem.DocumentsFolder(), kProductFolder));
  const std::u16string user = WithTrailingSeparator(JoinPath(product, kDataFolder));
  fileSystem.CreateFolder(fileSystem.DocumentsFolder());
  fileSystem.CreateFolder(product);
  fileSystem.CreateFolder(user);
  return {user, WithTrailingSeparator(JoinPath(fileSystem.ProgramFolder(), kDataFolder))};
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
