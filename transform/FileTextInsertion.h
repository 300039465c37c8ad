#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/WorkProgress.h"
#include "platform/FileSystem.h"
#include "transform/ImageSize.h"

namespace nomvarix {

class NameEditor;

/// The text a file gives its line, from its full path; empty when the file cannot give one.
using FileTextSource = std::function<std::optional<std::u16string>(std::u16string_view path)>;

/// What InsertFileText did.
struct FileTextInsertion {
  bool done = false;            ///< false with no caret: nothing was done
  std::size_t reached = 0;      ///< the selected lines it came to (all of them unless cancelled)
  std::size_t withoutText = 0;  ///< of those, the lines whose file gave nothing

  bool operator==(const FileTextInsertion&) const = default;
};

/// Inserts each selected line's file text (the file under its name on disk) at the selection's
/// left column, replacing the line's selected characters unless that would empty the line. Lines
/// whose file gives nothing, and lines shorter than the column, are left alone. The selection ends
/// as a caret after the last inserted text. One undo step; nothing is done with no caret.
/// `progress` is told of each line; a cancel stops before the next one, the lines done staying
/// as the one undo step.
FileTextInsertion InsertFileText(NameEditor& editor, const FileTextSource& source, WorkProgress& progress = NoProgress());

/// The full paths of the selected lines' files, first line first; empty with no caret.
std::vector<std::u16string> SelectedFilePaths(const NameEditor& editor);

/// As InsertFileText, with the files of the selected lines read first on all processors (`source`
/// is then called from several threads at once). `progress` is told of the files read; a cancel
/// keeps the texts of the lines read up to the first line not read, as one undo step.
FileTextInsertion InsertFileTextInParallel(NameEditor& editor, const FileTextSource& source,
                                           WorkProgress& progress = NoProgress());

/// The creation time in UTC by a format name: "yyyy-MM-dd", "yyMMdd", "yyyy-MM-dd HH-mm",
/// "dd.MM.yyyy"; any other name gives "yyyyMMdd".
std::u16string FormatCreationDate(FileClock::time_point time, std::u16string_view formatName);

/// `pattern` with W and H replaced by the signed width and height: "_(WxH)_" gives "_(1920x1080)_".
std::u16string FormatImageSize(ImageSize size, std::u16string_view pattern);

}  // namespace nomvarix
