#include "apply/NameRules.h"

#include <algorithm>
#include <cstdio>

#include "platform/Path.h"
#include "text/CharClass.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

constexpr std::u16string_view kInvalidCharacters = u"\\/:*?\"<>|";

}  // namespace

std::vector<NameFinding> NameFaults(std::u16string_view name) {
  std::vector<NameFinding> findings;
  if (name.empty()) findings.push_back({NameFault::Empty});
  if (!name.empty() && name.front() == u'.') findings.push_back({NameFault::StartsWithPeriod});
  if (!name.empty() && IsWhiteSpace(name.front())) findings.push_back({NameFault::StartsWithSpace});
  for (const char16_t ch : kInvalidCharacters) {
    if (name.find(ch) != std::u16string_view::npos) findings.push_back({NameFault::InvalidCharacter, ch});
  }
  std::u16string controls;
  for (const char16_t ch : name) {
    if (IsControlCharacter(ch) && controls.find(ch) == std::u16string::npos) {
      controls += ch;
      findings.push_back({NameFault::ControlCharacter, ch});
    }
  }
  return findings;
}

bool RefusedByApply(const NameFinding& finding) {
  switch (finding.fault) {
    case NameFault::Empty:
    case NameFault::StartsWithPeriod:
      return true;
    case NameFault::InvalidCharacter:
      return IsPathSeparator(finding.character);
    case NameFault::ControlCharacter:
      return finding.character == u'\0';
    case NameFault::StartsWithSpace:
      return false;
  }
  return false;
}

bool ApplyRefuses(std::u16string_view name) {
  // The faults RefusedByApply names, looked for directly: the live conflict check asks this of
  // many lines at each keystroke.
  // The cheap comparisons first: only a slash or a backslash can be a separator.
  return name.empty() || name.front() == u'.' || std::any_of(name.begin(), name.end(), [](char16_t ch) {
           return ch == u'\0' || ((ch == u'/' || ch == u'\\') && IsPathSeparator(ch));
         });
}

std::u16string FindingMessage(const NameFinding& finding) {
  switch (finding.fault) {
    case NameFault::Empty:
      return u"Filename is empty";
    case NameFault::StartsWithPeriod:
      return u"Filename starts with a period";
    case NameFault::StartsWithSpace:
      return u"Filename starts with a space";
    case NameFault::InvalidCharacter:
      return u"Contains invalid characters: '" + std::u16string(1, finding.character) + u"'";
    case NameFault::ControlCharacter: {
      char code[8];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(finding.character));
      return u"Contains a control character: " + FromUtf8(code);
    }
  }
  return {};
}

}  // namespace nomvarix
