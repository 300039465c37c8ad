#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace nomvarix::test {

/// A count that threads may add to at once, copied and assigned as its value.
template <typename T>
class Tally {
 public:
  Tally() = default;
  Tally(const Tally& other) : value_(other.value_.load()) {}
  Tally& operator=(const Tally& other) {
    value_ = other.value_.load();
    return *this;
  }
  Tally& operator++() {
    ++value_;
    return *this;
  }
  Tally& operator+=(T more) {
    value_ += more;
    return *this;
  }
  operator T() const { return value_.load(); }

 private:
  std::atomic<T> value_ = 0;
};

/// Folders held in memory, listed in the order their entries were added. Listing, existence and
/// renaming within a folder are modelled, with names compared exactly or, as on Windows, without
/// regard to ASCII case; everything else reports failure.
class FakeFileSystem final : public FileSystem {
 public:
  struct Entry {
    std::u16string name;
    bool isFolder = false;
    bool isHidden = false;
    std::uint64_t id = 0;  ///< given when added: the file's identity, which a rename keeps
  };

  /// Adds a folder (its path ending with "/") with the given files, listed after "." and "..".
  /// Files added without attributes show none.
  void AddFolder(const std::u16string& folder, const std::vector<std::u16string>& files);
  void AddEntry(const std::u16string& folder, Entry entry);
  void RemoveFolder(const std::u16string& folder) { folders_.erase(folder); }
  /// Adds a file to a folder that exists and returns its inode number: `inode` when given (a number
  /// freed by a deleted file, which a real file system hands out again), otherwise a new one.
  std::uint64_t AddFile(const std::u16string& path, FileAttributes attributes, std::uint64_t inode = 0);
  /// Deletes one name of a file; false when there is none.
  bool RemoveFile(const std::u16string& path);
  /// Gives the file at `path` a second name `link` in the same folder, as a hard link does.
  bool AddHardLink(const std::u16string& path, const std::u16string& link);
  /// Gives files new inode numbers, as a file system that numbers per mount does when mounted again:
  /// each number found in `renumbered` is replaced by the one it maps to.
  void Renumber(const std::map<std::uint64_t, std::uint64_t>& renumbered);
  void SetAttributes(const std::u16string& path, FileAttributes attributes);
  void SetIdentityPermanence(IdentityPermanence permanence) { permanence_ = permanence; }
  /// The inode number of the file at `path`; 0 when there is none.
  std::uint64_t InodeOf(const std::u16string& path) const;
  /// Gives a folder another path, as a rename by another program does: its files keep their identities.
  void MoveFolder(const std::u16string& from, const std::u16string& to);
  int ListingCount() const { return listings_; }
  /// How often one path was asked about (KindOf, EntryExists, IsSameFile, IdentityOf, StampOf).
  int PathQueries() const { return pathQueries_; }
  void SetCaseInsensitive(bool on) { caseInsensitive_ = on; }
  /// The names of the folder's files, in listing order.
  std::vector<std::u16string> FileNames(const std::u16string& folder) const;
  /// What a file holds and when it was created; a file without them cannot be read.
  void SetContent(const std::u16string& path, std::string bytes) { contents_[path] = std::move(bytes); }
  void SetCreationTime(const std::u16string& path, FileClock::time_point time) { created_[path] = time; }
  /// How often whole files were read.
  int WholeFileReads() const { return wholeFileReads_; }
  /// How often files were opened by OpenRegularFile.
  int FileOpens() const { return fileOpens_; }
  /// How many bytes were read from files opened by OpenRegularFile.
  std::size_t BytesRead() const { return bytesRead_; }
  /// Called before each rename, with its two paths: a test's chance to change the folder meanwhile.
  std::function<void(std::u16string_view from, std::u16string_view to)> beforeRename;

  bool ForEachEntry(std::u16string_view folder,
                    const std::function<void(const DirEntry&)>& visit) const override;
  PathKind KindOf(std::u16string_view path) const override;
  bool EntryExists(std::u16string_view path) const override { return KindOf(path) != PathKind::Missing; }
  /// Counts UTF-16 code units, as Windows does.
  std::size_t NameLength(std::u16string_view name) const override { return name.size(); }
  bool MayHaveSubfolder(std::u16string_view folder) const override;
  std::vector<std::u16string> FolderRoots() const override { return roots_; }
  void SetRoots(std::vector<std::u16string> roots) { roots_ = std::move(roots); }
  bool IsSameFile(std::u16string_view a, std::u16string_view b) const override;
  std::optional<FileIdentity> IdentityOf(std::u16string_view path) const override;
  std::optional<FileStamp> StampOf(std::u16string_view path) const override;
  IdentityPermanence IdentityPermanenceOf(std::u16string_view) const override { return permanence_; }
  bool IsListableFile(std::u16string_view path) const override { return KindOf(path) == PathKind::File; }
  RenameResult RenameNoReplace(std::u16string_view from, std::u16string_view to) override;
  std::optional<FileClock::time_point> CreationTime(std::u16string_view path) const override;
  std::unique_ptr<ReadableFile> OpenRegularFile(std::u16string_view path) const override;
  std::optional<std::string> ReadWholeFile(std::u16string_view path, std::size_t maxBytes) const override;
  bool CreateFolder(std::u16string_view path) override {
    folders_.try_emplace(WithTrailingSeparator(path), std::vector<Entry>{{u".", true, true}, {u"..", true, true}});
    return true;
  }
  /// Writes into a folder that exists, listing the file there.
  bool WriteWholeFile(std::u16string_view path, std::string_view bytes) override;
  std::u16string DocumentsFolder() const override { return u"/documents/"; }
  std::u16string ProgramFolder() const override { return u"/program/"; }
  std::u16string DataHomeFolder() const override { return dataHome_; }
  /// Sets what DataHomeFolder answers; empty (the default) as on Windows.
  void SetDataHomeFolder(std::u16string folder) { dataHome_ = std::move(folder); }
  std::u16string AbsolutePath(std::u16string_view path) const override;

 private:
  bool SameName(std::u16string_view a, std::u16string_view b) const;
  Entry* Find(std::u16string_view path);
  const Entry* Find(std::u16string_view path) const;

  std::map<std::u16string, std::vector<Entry>, std::less<>> folders_;
  std::uint64_t lastId_ = 0;
  std::map<std::uint64_t, FileAttributes> attributes_;  ///< per inode number
  IdentityPermanence permanence_ = IdentityPermanence::Lasting;
  bool caseInsensitive_ = false;
  std::u16string dataHome_;
  std::vector<std::u16string> roots_{u"/"};
  std::map<std::u16string, std::string, std::less<>> contents_;
  std::map<std::u16string, FileClock::time_point, std::less<>> created_;
  // Atomic: files are read on several threads at once.
  mutable Tally<int> wholeFileReads_;
  mutable Tally<int> fileOpens_;
  mutable Tally<std::size_t> bytesRead_;
  mutable Tally<int> listings_;
  mutable Tally<int> pathQueries_;
};

}  // namespace nomvarix::test
