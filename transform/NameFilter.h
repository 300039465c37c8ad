#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

/// Which files of a folder get a line, besides the fixed rules (no folders, hidden files, "." or
/// ".."): an extension list and a text the name must contain, both compared with ASCII letters
/// folded. Empty conditions let everything through.
struct NameFilter {
  std::vector<std::u16string> extensions;  ///< each beginning with ".", as typed
  std::u16string mustInclude;

  bool IsActive() const { return !extensions.empty() || !mustInclude.empty(); }
  bool Passes(std::u16string_view name) const;
};

/// The extension of a file name as Windows paths have it: from the last "." on, unless a space
/// follows that "."; empty when there is none. "report. final" has none.
std::u16string_view PathExtension(std::u16string_view name);

/// "jpg; .PNG, bmp" gives .jpg, .PNG and .bmp: pieces split at commas, semicolons and spaces,
/// trimmed of spaces and tabs, a "." put in front where missing.
std::vector<std::u16string> ParseExtensionList(std::u16string_view text);
/// The list as the dialog shows it: "jpg,PNG,bmp".
std::u16string FormatExtensionList(const std::vector<std::u16string>& extensions);
/// The filter in a few words: "mp3,jpg", "name includes \"2024\"", or both joined by "; ".
std::u16string DescribeFilter(const NameFilter& filter);

}  // namespace nomvarix
