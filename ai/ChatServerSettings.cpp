#include "ai/ChatServerSettings.h"

#include "platform/SecretStore.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// The key's name in the keyring.
constexpr std::string_view kKeyringName = "LlmApiKey";

/// Keeps `key` in the keyring; true once it reads back as written.
bool KeepInKeyring(SecretStore& secrets, const std::string& key) {
  if (!secrets.Available()) return false;
  if (key.empty()) return secrets.Remove(kKeyringName);
  return secrets.Write(kKeyringName, key) && secrets.Read(kKeyringName) == key;
}

}  // namespace

StoredChatServer ReadChatServer(SettingsStore& settings, SecretStore& secrets,
                                const std::optional<std::string>& environmentKey) {
  StoredChatServer stored{{ToUtf8(settings.ReadString(settings::kLlmBaseUrl, settings::kLlmBaseUrlDefault)),
                           ToUtf8(settings.ReadString(settings::kLlmModel, settings::kLlmModelDefault)),
                           ToUtf8(settings.ReadString(settings::kLlmApiKey, u""))},
                          KeyPlace::SettingsFile};
  std::string& key = stored.server.apiKey;
  if (!key.empty()) {
    // A key in the settings is newer than one in the keyring: it was stored while none was usable.
    if (KeepInKeyring(secrets, key)) {
      stored.keyPlace = KeyPlace::Keyring;
      settings.WriteString(settings::kLlmApiKey, u"");
    }
  } else if (secrets.Available()) {
    if (const std::optional<std::string> kept = secrets.Read(kKeyringName)) {
      key = *kept;
      stored.keyPlace = KeyPlace::Keyring;
    }
  }
  if (key.empty() && environmentKey) key = *environmentKey;
  return stored;
}

KeyPlace WriteChatServer(SettingsStore& settings, SecretStore& secrets, const ChatServer& server) {
  settings.WriteString(settings::kLlmBaseUrl, FromUtf8(server.baseUrl));
  settings.WriteString(settings::kLlmModel, FromUtf8(server.model));
  const bool kept = KeepInKeyring(secrets, server.apiKey);
  settings.WriteString(settings::kLlmApiKey, kept ? std::u16string() : FromUtf8(server.apiKey));
  return kept ? KeyPlace::Keyring : KeyPlace::SettingsFile;
}

const char* KeyPlaceNote(KeyPlace place) {
  return place == KeyPlace::Keyring
             ? "The key is kept in the system keyring."
             : "No system keyring can be used: the key is kept in the settings file.";
}

}  // namespace nomvarix
