#pragma once

#include <string>
#include <string_view>

namespace nomvarix {

/// The seven texts that frame every request to the model: the system text, the pre- and
/// post-prompt around the user's rule, and two worked examples with their answers. Line breaks
/// inside the fields are single LFs.
struct PromptTemplate {
  std::u16string systemText;
  std::u16string prePrompt;
  std::u16string postPrompt;
  std::u16string example1;
  std::u16string example1Response;
  std::u16string example2;
  std::u16string example2Response;

  bool operator==(const PromptTemplate&) const = default;
};

/// The section after `marker`: up to the next "#" (or the end), trimmed of white space, CR LF and
/// LF CR made LF, CR and LF stripped from both ends, trimmed again. Empty when the marker is absent.
std::u16string ExtractSection(std::u16string_view text, std::u16string_view marker);

/// The fields from a template file's text; a missing marker gives an empty field.
PromptTemplate ParseTemplate(std::u16string_view text);
/// The file text: each marker on its own line, its field, a blank line; every break CR LF.
std::u16string SerializeTemplate(const PromptTemplate& prompt);

/// The built-in template, used when no template file exists.
PromptTemplate DefaultTemplate();

}  // namespace nomvarix
