#pragma once

#include <optional>
#include <string>

#include "ai/LlmClient.h"

namespace nomvarix {

class SecretStore;
class SettingsStore;

/// Where the API key is kept.
enum class KeyPlace {
  Keyring,       ///< the system's keyring
  SettingsFile,  ///< the settings, because no keyring can be used
};

/// The chat server as stored, and where its key is kept.
struct StoredChatServer {
  ChatServer server;
  KeyPlace keyPlace = KeyPlace::SettingsFile;
};

/// The chat server from the settings, its key from the keyring when one can be used. A key still
/// in the settings is moved to the keyring first: it leaves the settings only once the keyring
/// holds it and gives it back. Without a usable keyring the settings keep the key. A stored key
/// wins; without one, `environmentKey` (the value of the key's environment variable, when set) is
/// used.
StoredChatServer ReadChatServer(SettingsStore& settings, SecretStore& secrets,
                                const std::optional<std::string>& environmentKey);

/// Stores the three values of the "LLM Settings" dialog, the key in the keyring when one can be used
/// (an empty key removes it there), else in the settings. Returns where the key went.
KeyPlace WriteChatServer(SettingsStore& settings, SecretStore& secrets, const ChatServer& server);

/// The sentence of the "LLM Settings" dialog that says where the key is kept.
const char* KeyPlaceNote(KeyPlace place);

}  // namespace nomvarix
