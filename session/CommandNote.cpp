#include "session/CommandNote.h"

#include <string>

namespace nomvarix {
namespace {

/// A count of lines above this is told in a message box, not only in the status bar.
constexpr std::size_t kFewLines = 3;

}  // namespace

std::u16string GroupedCount(std::size_t count) {
  const std::string digits = std::to_string(count);
  std::u16string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(u',');
    grouped.push_back(static_cast<char16_t>(digits[i]));
  }
  return grouped;
}

CommandNote LinesWithoutValueNote(std::size_t missing, std::size_t reached, std::u16string_view what) {
  if (missing == 0) return {};
  const bool one = missing == 1;
  std::u16string text = GroupedCount(missing) + u" of " + GroupedCount(reached) + (reached == 1 ? u" file" : u" files") +
                        (one ? u" has no " : u" have no ");
  text += what;
  text += one ? u"; its line was left as it was." : u"; their lines were left as they were.";
  return {std::move(text), missing > kFewLines};
}

CommandNote PaddedLinesNote(std::size_t padded, bool unasked) {
  if (padded == 0) return {};
  std::u16string text = GroupedCount(padded) + (padded == 1 ? u" line was" : u" lines were") +
                        u" padded with spaces; a name that starts with a space is reported by Validate Changes.";
  return {std::move(text), unasked};
}

}  // namespace nomvarix
