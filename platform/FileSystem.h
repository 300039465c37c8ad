#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileIdentity.h"
#include "platform/FolderFiles.h"

namespace nomvarix {

/// One entry of a folder listing. `name` is valid only during the visit.
struct DirEntry {
  std::u16string_view name;
  bool isFolder = false;  ///< a folder, or a link to one
  bool isHidden = false;  ///< POSIX: the name starts with "."; Windows: the hidden attribute
  /// The entry's identity as IdentityOf would tell it, read with the listing; not Known where the
  /// file system lists other numbers than it tells of its files.
  FileIdentity identity = {};
};

enum class PathKind { Missing, File, Folder };

enum class RenameResult {
  Renamed,
  TargetExists,  ///< nothing was changed because a file of the target name exists
  Failed,
};

using FileClock = std::chrono::system_clock;

/// A regular file open for reading; closed when destroyed.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  /// The file's size when it was opened.
  virtual std::uint64_t Size() const = 0;
  /// Up to `count` bytes from `offset`, fewer where the file ends; empty on a read error.
  virtual std::optional<std::string> ReadAt(std::uint64_t offset, std::size_t count) const = 0;
};

/// The file system as the program uses it. Paths are UTF-16; the POSIX implementation carries
/// undecodable name bytes through as escaped code units (text/Utf16.h).
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// Calls `visit` for every entry of `folder` in the order the system returns them ("." and ".."
  /// included where the system lists them). False when the folder cannot be listed. `visit` may
  /// throw to end the listing early: the listing's handles are closed and the exception goes on.
  virtual bool ForEachEntry(std::u16string_view folder,
                            const std::function<void(const DirEntry&)>& visit) const = 0;

  /// What `path` names; a symbolic link counts as what it points to (Missing when dangling).
  virtual PathKind KindOf(std::u16string_view path) const = 0;

  /// Whether anything has taken the name `path`: a file, a folder, or a symbolic link, which is
  /// not followed (a dangling link takes its name too).
  virtual bool EntryExists(std::u16string_view path) const = 0;

  /// The length of the file name `name` in the unit this file system allows 255 of: on POSIX the
  /// bytes of the name as written (UTF-8, an escaped undecodable byte as one byte), on Windows
  /// UTF-16 code units.
  virtual std::size_t NameLength(std::u16string_view name) const = 0;

  /// Whether `folder` may hold a folder that the folder tree lists (not "." or ".."; on Windows
  /// hidden ones too, on POSIX no hidden one): true at the first one found, and also when
  /// kSubfolderLookLimit entries were read without finding one (a folder of many files is not read
  /// to its end just to decide whether to draw a button); false when it holds none or cannot be
  /// listed.
  virtual bool MayHaveSubfolder(std::u16string_view folder) const = 0;
  static constexpr std::size_t kSubfolderLookLimit = 1000;

  /// The tops of the folder tree, each ending with a separator: the ready fixed and removable
  /// drives on Windows; elsewhere "/", the home folder and mounted removable media.
  virtual std::vector<std::u16string> FolderRoots() const = 0;

  /// Whether both paths name the same file, as a case-insensitive file system finds one file under
  /// two spellings. False when either is missing.
  virtual bool IsSameFile(std::u16string_view a, std::u16string_view b) const = 0;

  /// The identity of the entry `path` names (a symbolic link is not followed); empty when missing.
  virtual std::optional<FileIdentity> IdentityOf(std::u16string_view path) const = 0;
  /// Whether `path` names what a folder's list shows as a file: a regular file, or a symbolic link
  /// that leads to one or to nothing. False for a folder, a FIFO, a socket, a device, a missing entry.
  virtual bool IsListableFile(std::u16string_view path) const = 0;
  /// The identity of `path` when it is a listable file (see IsListableFile); empty otherwise.
  virtual std::optional<FileIdentity> IdentityOfListableFile(std::u16string_view path) const {
    return IsListableFile(path) ? IdentityOf(path) : std::nullopt;
  }

  /// The identity and attributes of the entry `path` names, read at once (a symbolic link is not
  /// followed); empty when missing.
  virtual std::optional<FileStamp> StampOf(std::u16string_view path) const = 0;

  /// Whether the file system holding `folder` keeps file identities for the files' whole life.
  /// PerMount when that cannot be told: it is the careful answer.
  virtual IdentityPermanence IdentityPermanenceOf(std::u16string_view folder) const = 0;

  /// Renames `from` to `to` atomically, never replacing an existing file.
  virtual RenameResult RenameNoReplace(std::u16string_view from, std::u16string_view to) = 0;

  /// The files of `folder` (ending with a separator), for many look-ups and renames among them. By
  /// default the calls above with the joined paths; never null.
  virtual std::unique_ptr<FolderFiles> OpenFolder(std::u16string_view folder);

  /// The file's creation (birth) time; empty when unreadable or not kept by the file system.
  virtual std::optional<FileClock::time_point> CreationTime(std::u16string_view path) const = 0;

  /// Opens a regular file for reading without ever waiting: a pipe, a device or a folder is
  /// refused. Null when the file is missing, unreadable or not a regular file.
  virtual std::unique_ptr<ReadableFile> OpenRegularFile(std::u16string_view path) const = 0;

  /// The whole of a regular file; empty when unreadable, not a regular file or larger than
  /// `maxBytes`.
  virtual std::optional<std::string> ReadWholeFile(std::u16string_view path,
                                                   std::size_t maxBytes) const = 0;

  /// Creates the folder when it does not exist (its parent must); true when it exists afterwards.
  virtual bool CreateFolder(std::u16string_view path) = 0;

  /// Creates or truncates the file and writes `bytes`; false when that failed.
  virtual bool WriteWholeFile(std::u16string_view path, std::string_view bytes) = 0;

  /// The user's documents folder, ending with a separator (it may not exist yet).
  virtual std::u16string DocumentsFolder() const = 0;

  /// The folder of the running program, ending with a separator.
  virtual std::u16string ProgramFolder() const = 0;

  /// The base folder of the user's data files by the XDG rules ($XDG_DATA_HOME, else
  /// ~/.local/share), ending with a separator (it may not exist yet); empty where the system has no
  /// such place and data files go to the documents folder, as on Windows.
  virtual std::u16string DataHomeFolder() const { return {}; }

  /// `path` made absolute against the current folder; "." components and doubled separators are
  /// removed, each ".." takes away the component before it (never the root), a trailing separator
  /// is kept.
  virtual std::u16string AbsolutePath(std::u16string_view path) const = 0;
};

/// The whole of an open file, read to its end, which may lie past the size it had when opened;
/// empty on a read error or when it holds more than `maxBytes`.
std::optional<std::string> ReadToEnd(const ReadableFile& file, std::size_t maxBytes);

/// The implementation for the platform the program was built for.
std::unique_ptr<FileSystem> MakeNativeFileSystem();

}  // namespace nomvarix
