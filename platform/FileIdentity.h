#pragma once

#include <cstdint>
#include <optional>

namespace nomvarix {

/// What tells one file from every other while it exists, whatever its name: the device and inode
/// on POSIX, the volume serial number and file index on Windows. No file has the file number 0:
/// an identity holding it is one that is not known.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  bool Known() const { return file != 0; }
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

/// How long a file system keeps the identity it gives a file.
enum class IdentityPermanence {
  Lasting,   ///< for the file's whole life (ext4, btrfs, NTFS, ...): a file is known by its identity
  PerMount,  ///< made up at each mount or by position (FAT, exFAT, many network and FUSE file
             ///< systems): the same number may name another file after a remount, so only names
             ///< and attributes can tell files apart
};

/// What can be seen of a file's content without reading it. Each is empty where it is not known
/// (a file system that keeps no birth time, a record written before it was kept).
struct FileAttributes {
  std::optional<std::uint64_t> size;
  std::optional<std::int64_t> modified;  ///< last change of the content, nanoseconds since 1970
  std::optional<std::int64_t> created;   ///< birth time, nanoseconds since 1970
  friend bool operator==(const FileAttributes&, const FileAttributes&) = default;
};

enum class AttributeMatch {
  Same,       ///< size and modification time known on both sides and equal, birth time too where both have it
  Different,  ///< an attribute known on both sides differs
  Unknown,    ///< nothing differs, but too little is known on one side to say they are the same
};

/// Compares what was recorded of a file with what a file shows now. A rename changes none of them.
inline AttributeMatch CompareAttributes(const FileAttributes& recorded, const FileAttributes& now) {
  const auto differ = [](const auto& a, const auto& b) { return a && b && *a != *b; };
  if (differ(recorded.size, now.size) || differ(recorded.modified, now.modified) ||
      differ(recorded.created, now.created)) {
    return AttributeMatch::Different;
  }
  const bool known = recorded.size && now.size && recorded.modified && now.modified;
  return known ? AttributeMatch::Same : AttributeMatch::Unknown;
}

/// A file as found on the disk: its identity and its attributes, read together.
struct FileStamp {
  FileIdentity identity;
  FileAttributes attributes;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

}  // namespace nomvarix
