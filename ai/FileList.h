#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ai/RenamePair.h"

namespace nomvarix {

/// The two shapes of the file list the model reads. The examples' request and answer have a comma
/// between the objects only; a group's request has one after every object and empty renamed values.
enum class FileListForm { ExampleRequest, ExampleAnswer, Group };

/// The file list, fenced with ''' and laid out with CR LF, the names escaped as JSON strings:
///
///   '''
///   {
///     "filenames": [
///       {
///         "original": "a.txt",
///         "renamed": ""
///       },
///     ]
///   }
///   '''
std::u16string BuildFileList(const std::vector<RenamePair>& pairs, FileListForm form);

/// A name as the model is sent it: each undecodable byte of the name on disk (an escaped unit, see
/// text/Utf16.h) becomes U+FFFD, which a JSON body can carry. The answer names the file by this text.
std::u16string NameAsSent(std::u16string_view name);

/// The request-form list of the pairs first..last (both included); a negative first counts as 0,
/// the last is clipped to the pairs, and a range that starts beyond its end gives nothing.
std::u16string BuildGroupFileList(const std::vector<RenamePair>& pairs, std::ptrdiff_t first, std::ptrdiff_t last);

}  // namespace nomvarix
