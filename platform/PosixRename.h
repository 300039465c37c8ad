#pragma once

#include <string>

namespace nomvarix {

/// rename(2) that fails with EEXIST instead of replacing. Where the file system does not support
/// RENAME_NOREPLACE, a hard link plus unlink gives the same guarantee. 0 on success, else -1 and
/// errno set.
int RenameNoReplaceNative(const std::string& from, const std::string& to);

/// As above, with each name taken relative to its folder's descriptor (AT_FDCWD: the current folder).
int RenameNoReplaceAt(int fromFolder, const char* from, int toFolder, const char* to);

}  // namespace nomvarix
