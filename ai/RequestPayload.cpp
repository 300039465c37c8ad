#include "ai/RequestPayload.h"

#include <algorithm>

#include "ai/FileList.h"
#include "editor/NameEditor.h"
#include "platform/LineEnds.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

std::string MessageText(std::u16string_view text) { return ToUtf8(ToLfLineEnds(text)); }

}  // namespace

std::vector<RenamePair> CollectRequestPairs(const NameEditor& editor) {
  const NameList& names = editor.Names();
  const BlockSelection& selection = editor.Selection();
  std::size_t first = 0;
  std::size_t last = names.size();  // one past
  if (selection.startLine != selection.endLine) {
    first = static_cast<std::size_t>(std::max(std::min(selection.startLine, selection.endLine), 0));
    last = std::min(static_cast<std::size_t>(std::max(selection.startLine, selection.endLine)) + 1, names.size());
  }
  std::vector<RenamePair> pairs;
  for (std::size_t line = first; line < last; ++line) pairs.push_back({names[line].originalName, names[line].newName});
  return pairs;
}

std::size_t EffectiveGroupSize(int groupSize) { return static_cast<std::size_t>(std::max(groupSize, 1)); }

std::size_t GroupCount(std::size_t pairCount, int groupSize) {
  const std::size_t size = EffectiveGroupSize(groupSize);
  return (pairCount + size - 1) / size;
}

std::vector<ChatMessage> TemplateMessages(const PromptTemplate& prompt) {
  std::vector<ChatMessage> messages;
  if (!prompt.systemText.empty()) messages.push_back({"system", MessageText(prompt.systemText)});
  for (const auto& [example, response] : {std::pair{&prompt.example1, &prompt.example1Response},
                                          std::pair{&prompt.example2, &prompt.example2Response}}) {
    if (example->empty()) continue;
    messages.push_back({"user", MessageText(*example)});
    messages.push_back({"assistant", MessageText(*response)});
  }
  return messages;
}

std::u16string BuildUserMessage(const PromptTemplate& prompt, std::u16string_view rule,
                                const std::vector<RenamePair>& pairs, std::size_t group, int groupSize) {
  const auto size = static_cast<std::ptrdiff_t>(EffectiveGroupSize(groupSize));
  const auto first = static_cast<std::ptrdiff_t>(group) * size;
  std::u16string text = prompt.prePrompt;
  text += u"\r\n\r\n";
  text += rule;
  text += u"\r\n\r\n";
  text += prompt.postPrompt;
  text += u"\r\n\r\n";
  text += BuildGroupFileList(pairs, first, first + size - 1);
  return ToLfLineEnds(text);
}

}  // namespace nomvarix
