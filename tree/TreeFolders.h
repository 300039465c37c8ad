#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace nomvarix {

/// Whether the folder tree lists `entry` of a folder's listing: a folder other than "." and "..".
/// On POSIX a hidden one (its name starts with ".") is left out, as the file list leaves out such
/// files; Windows lists hidden folders, as its own folder trees do.
bool TreeListsFolder(const DirEntry& entry);

/// Puts a folder's sub-folder names in the order the tree shows them. A POSIX listing comes in no
/// order a person can follow, so the names are sorted as CompareNaturalFoldedFirst reads them ("img2" before
/// "img10", A..Z folded); Windows file systems list in their own name order, which is kept.
void SortTreeFolders(std::vector<std::u16string>& names);

}  // namespace nomvarix
