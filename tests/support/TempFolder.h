#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nomvarix::test {

/// A fresh folder under the system's temporary folder, removed with everything in it at the end.
/// Paths are bytes: a POSIX file system's own, UTF-8 on Windows.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  /// The folder's path, ending with the platform's separator.
  const std::string& Path() const { return path_; }
  /// The folder's path as UTF-16, ending with the platform's separator.
  std::u16string Path16() const;
  /// Creates a file (and its folders) below the folder; returns its full path.
  std::string AddFile(std::string_view relative, std::string_view content = "");
  std::string AddFolder(std::string_view relative);
  std::string ReadFile(std::string_view relative) const;
  /// The names of the folder's own entries, sorted.
  std::vector<std::u16string> EntryNames() const;

 private:
  std::string path_;
};

}  // namespace nomvarix::test
