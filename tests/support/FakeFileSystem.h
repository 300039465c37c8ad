#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace nomvarix::test {

/// Folders held in memory, listed in the order their entries were added. Listing, existence and
/// renaming within a folder are modelled, with names compared exactly or, as on Windows, without
/// regard to ASCII case; everything else reports failure.
class FakeFileSystem final : public FileSystem {
 public:
  struct Entry {
    std::u16string name;
    bool isFolder = false;
    bool isHidden = false;
  };

  /// Adds a folder (its path ending with "/") with the given files, listed after "." and "..".
  void AddFolder(const std::u16string& folder, const std::vector<std::u16string>& files);
  void AddEntry(const std::u16string& folder, Entry entry);
  void RemoveFolder(const std::u16string& folder) { folders_.erase(folder); }
  int ListingCount() const { return listings_; }
  void SetCaseInsensitive(bool on) { caseInsensitive_ = on; }
  /// The names of the folder's files, in listing order.
  std::vector<std::u16string> FileNames(const std::u16string& folder) const;
  /// Called before each rename, with its two paths: a test's chance to change the folder meanwhile.
  std::function<void(std::u16string_view from, std::u16string_view to)> beforeRename;

  bool ForEachEntry(std::u16string_view folder,
                    const std::function<void(const DirEntry&)>& visit) const override;
  PathKind KindOf(std::u16string_view path) const override;
  bool IsSameFile(std::u16string_view a, std::u16string_view b) const override;
  RenameResult RenameNoReplace(std::u16string_view from, std::u16string_view to) override;
  std::optional<FileClock::time_point> CreationTime(std::u16string_view) const override { return {}; }
  std::optional<std::uint64_t> FileSize(std::u16string_view) const override { return {}; }
  std::optional<std::string> ReadWholeFile(std::u16string_view, std::size_t) const override { return {}; }
  std::optional<std::string> ReadHeader(std::u16string_view, std::size_t) const override { return {}; }
  std::u16string DocumentsFolder() const override { return u"/documents/"; }
  std::u16string ProgramFolder() const override { return u"/program/"; }
  std::u16string AbsolutePath(std::u16string_view path) const override;

 private:
  bool SameName(std::u16string_view a, std::u16string_view b) const;
  Entry* Find(std::u16string_view path);
  const Entry* Find(std::u16string_view path) const;

  std::map<std::u16string, std::vector<Entry>, std::less<>> folders_;
  bool caseInsensitive_ = false;
  mutable int listings_ = 0;
};

}  // namespace nomvarix::test
