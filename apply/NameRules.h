#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

/// What can be wrong with a new name by itself, in the order Validate reports it.
enum class NameFault {
  Empty,
  StartsWithPeriod,
  StartsWithSpace,
  InvalidCharacter,  ///< one of \ / : * ? " < > |
  ControlCharacter,  ///< C0, DEL or C1 (IsControlCharacter); NUL among them
};

struct NameFinding {
  NameFault fault;
  char16_t character = 0;  ///< the character, for the two character faults

  bool operator==(const NameFinding&) const = default;
};

/// Every fault of `name`: each fault once, but each distinct invalid character (in the order
/// \ / : * ? " < > |) and control character (in the order they first appear) once per character.
/// The rules the file system's length limit and the other files of the folder set are the
/// caller's.
///
///   u"\tx:y\t:" gives StartsWithSpace, InvalidCharacter ':', ControlCharacter U+0009.
std::vector<NameFinding> NameFaults(std::u16string_view name);

/// Whether applying skips a name with `finding` even when the user turned validation off: an empty
/// name, a hidden one ("." and ".." among them), one holding a path separator of this platform,
/// which would reach outside the folder, or NUL, which no file name can hold.
bool RefusedByApply(const NameFinding& finding);
/// Whether applying skips `name`: one of its faults is refused (RefusedByApply).
bool ApplyRefuses(std::u16string_view name);

/// The finding as the validation report says it: "Contains a control character: U+001B".
std::u16string FindingMessage(const NameFinding& finding);

}  // namespace nomvarix
