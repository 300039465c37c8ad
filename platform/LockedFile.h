#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/SharedFile.h"

namespace nomvarix {

/// A file that one running program owns for as long as this object lives: it stays locked, so that
/// another running program can tell it from a file left behind by a program that has ended (the
/// system drops the lock of a program that ends, however it ends).
class LockedFile {
 public:
  virtual ~LockedFile() = default;
  /// What the file held when it was created or taken over.
  virtual const std::string& Content() const = 0;
  /// Deletes the file; it stays locked until this object is destroyed. False when it could not.
  virtual bool Remove() = 0;
};

/// Creates the file `path` holding `bytes`, locked, with its data and its entry in the folder on the
/// disk before this returns; missing folders on the way are created. Another program never sees
/// the file half written: it is written under the name `path` + ".partial" first. Null when it could not be written.
std::unique_ptr<LockedFile> CreateLockedFile(std::u16string_view path, std::string_view bytes);
/// As above; when the file could not be written, `why` says why in words for the user ("the disk is
/// full", "<folder> is a file, not a folder", ...).
std::unique_ptr<LockedFile> CreateLockedFile(std::u16string_view path, std::string_view bytes, std::u16string& why);

/// Takes over a file left by a program that has ended. Null when a running program holds it, when
/// it is gone, when it cannot be read, when it is no regular file (a pipe or a link to a device put
/// in its place is never waited on or read) or when it holds more than `maxBytes`.
std::unique_ptr<LockedFile> TakeOverLockedFile(std::u16string_view path,
                                               std::size_t maxBytes = kMaxSharedFileBytes);

}  // namespace nomvarix
