#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ai/PromptTemplate.h"
#include "ai/RenamePair.h"

namespace nomvarix {

class NameEditor;

/// One message of a chat request, its content as UTF-8 with LF line breaks.
struct ChatMessage {
  std::string role;  ///< "system", "user" or "assistant"
  std::string content;

  bool operator==(const ChatMessage&) const = default;
};

/// The names the assistant is asked about, each with its current new name: the selected lines when
/// the selection spans several, else every line, in list order.
std::vector<RenamePair> CollectRequestPairs(const NameEditor& editor);

/// Every group computation takes a group size below 1 as 1.
std::size_t EffectiveGroupSize(int groupSize);
/// How many groups `pairCount` names make (none for no names; Send still asks once then).
std::size_t GroupCount(std::size_t pairCount, int groupSize);

/// The messages that come before a group's own: the system text (when not empty), then each
/// example with its answer (when the example is not empty).
std::vector<ChatMessage> TemplateMessages(const PromptTemplate& prompt);

/// The user message of group `group`: the pre-prompt, the user's rule, the post-prompt and the
/// group's request-form file list, separated by blank lines, with LF line breaks.
std::u16string BuildUserMessage(const PromptTemplate& prompt, std::u16string_view rule,
                                const std::vector<RenamePair>& pairs, std::size_t group, int groupSize);

}  // namespace nomvarix
