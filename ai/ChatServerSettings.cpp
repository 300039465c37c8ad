#include "ai/ChatServerSettings.h"

#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "text/Utf16.h"

namespace nomvarix {

ChatServer ReadChatServer(const SettingsStore& settings, const std::optional<std::string>& environmentKey) {
  ChatServer server{ToUtf8(settings.ReadString(settings::kLlmBaseUrl, settings::kLlmBaseUrlDefault)),
                    ToUtf8(settings.ReadString(settings::kLlmModel, settings::kLlmModelDefault)),
                    ToUtf8(settings.ReadString(settings::kLlmApiKey, u""))};
  if (server.apiKey.empty() && environmentKey) server.apiKey = *environmentKey;
  return server;
}

void WriteChatServer(SettingsStore& settings, const ChatServer& server) {
  settings.WriteString(settings::kLlmBaseUrl, FromUtf8(server.baseUrl));
  settings.WriteString(settings::kLlmModel, FromUtf8(server.model));
  settings.WriteString(settings::kLlmApiKey, FromUtf8(server.apiKey));
}

}  // namespace nomvarix
