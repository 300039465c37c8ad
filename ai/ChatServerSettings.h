#pragma once

#include <optional>
#include <string>

#include "ai/LlmClient.h"

namespace nomvarix {

class SettingsStore;

/// The chat server from the settings. A stored key wins; without one, `environmentKey` (the value
/// of the key's environment variable, when set) is used.
ChatServer ReadChatServer(const SettingsStore& settings, const std::optional<std::string>& environmentKey);

/// Stores the three values of the "LLM Settings" dialog.
void WriteChatServer(SettingsStore& settings, const ChatServer& server);

}  // namespace nomvarix
