#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "apply/EditFingerprints.h"
#include "apply/SavedEdits.h"

namespace nomvarix {

/// The name of the file, in the kept-edits folder, that holds the kept edits of `folder`: 16 hex
/// digits of a hash of the folder's path, then ".json". Folders whose paths hash alike share one
/// file, which holds each of them under its path.
std::u16string KeptEditsFileName(std::u16string_view folder);

/// Whether the file found now is the one a kept edit was made for: the same size, modification
/// time and (where both know it) birth time, and, on a file system that keeps identities for a
/// file's whole life, the same identity. Too little known to tell counts as another file.
bool IsSameKeptFile(const FileStamp& kept, const FileStamp& now, IdentityPermanence permanence);

/// One running program's share of the kept-edits files that every running instance writes. It
/// remembers, per folder, the edits it last read from the files or wrote to them, so that a write
/// changes only the files whose edits this program changed since, and keeps every other edit as
/// the file holds it then: edits that another instance saved meanwhile are never dropped, in
/// another folder or in the same one. What it remembers of a folder is 16 bytes an edit
/// (EditFingerprints), not a copy of the edits.
///
///   A reads X, B reads Y; A edits X, B edits Y; A writes, then B writes: the files hold both.
///   A and B read X; A edits a.txt, B edits b.txt; both write: X's file holds both edits.
class KeptEdits {
 public:
  /// The saved edits of `folder` in the file's text (none when the file cannot be read), taken as
  /// what this program now holds for it.
  std::vector<SavedEdit> Take(std::u16string_view folder, std::string_view fileText);
  /// The same, from the file's content read already.
  std::vector<SavedEdit> Take(std::u16string_view folder, SavedEditsContent content);

  /// The folder's saved copy is replaced whole by this program's edits at the next write, even
  /// when they look unchanged ("Reload": every edit of the folder is to go, another instance's too).
  void Drop(std::u16string_view folder);

  /// The folders whose edits in `mine` (every folder this program holds edits for) are not what
  /// this program last read or wrote, or that were dropped: the ones a write must merge.
  std::set<std::u16string> ChangedFolders(const FolderEdits& mine) const;

  /// What a file becomes when this program's edits of `folder` are `edits` (none: null): the
  /// folder merged file by file into `fileText`. A file whose edit this program changed (made,
  /// altered or set back) gets this program's; every other file keeps the edit the file holds; a
  /// dropped folder gets exactly this program's edits. Other folders in the file stay as they are.
  /// Nothing when the file was written by a later version, which is left as it is; a damaged file
  /// holds nothing that can be kept and is written anew.
  std::optional<std::string> MergeFolder(std::u16string_view folder, std::string_view fileText,
                                         const std::vector<SavedEdit>* edits) const;

  /// To be told once a merge of one folder's edits (none: null) reached its file.
  void WrittenFolder(std::u16string_view folder, const std::vector<SavedEdit>* edits);

 private:
  std::map<std::u16string, EditFingerprints> known_;
  std::set<std::u16string> dropped_;
};

}  // namespace nomvarix
