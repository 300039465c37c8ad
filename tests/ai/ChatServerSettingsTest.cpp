#include "ai/ChatServerSettings.h"

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "platform/SettingKeys.h"
#include "support/FakeSecretStore.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

enum class Keyring { Absent, Works, WritesFail, WritesGetLost };

test::FakeSecretStore MakeKeyring(Keyring kind, const std::string& kept) {
  test::FakeSecretStore keyring;
  keyring.available = kind != Keyring::Absent;
  keyring.writesFail = kind == Keyring::WritesFail;
  keyring.writesGetLost = kind == Keyring::WritesGetLost;
  if (!kept.empty()) keyring.secrets["LlmApiKey"] = kept;
  return keyring;
}

TEST(ChatServerSettings, AKeyInTheSettingsMovesToTheKeyringOnlyOnceTheKeyringHoldsIt) {
  const struct {
    const char* what;
    Keyring keyring;
    std::string inKeyring;   // before
    std::u16string inFile;   // before
    std::string key;         // read
    KeyPlace place;
    std::u16string fileAfter;
    std::string keyringAfter;
  } cases[] = {
      {"no keyring", Keyring::Absent, "", u"sk-\u00E9t\u00E9", "sk-\xC3\xA9t\xC3\xA9", KeyPlace::SettingsFile,
       u"sk-\u00E9t\u00E9", ""},
      {"moved", Keyring::Works, "", u"sk-1", "sk-1", KeyPlace::Keyring, u"", "sk-1"},
      {"write fails", Keyring::WritesFail, "", u"sk-1", "sk-1", KeyPlace::SettingsFile, u"sk-1", ""},
      {"does not read back", Keyring::WritesGetLost, "", u"sk-1", "sk-1", KeyPlace::SettingsFile, u"sk-1", ""},
      {"already in the keyring", Keyring::Works, "sk-2", u"", "sk-2", KeyPlace::Keyring, u"", "sk-2"},
      // One stored in the settings while no keyring could be used is the newer.
      {"in both", Keyring::Works, "sk-old", u"sk-new", "sk-new", KeyPlace::Keyring, u"", "sk-new"},
      {"none anywhere", Keyring::Works, "", u"", "", KeyPlace::Keyring, u"", ""},
  };
  for (const auto& c : cases) {
    test::FakeSecretStore keyring = MakeKeyring(c.keyring, c.inKeyring);
    MemorySettingsStore settings;
    settings.WriteString(settings::kLlmApiKey, c.inFile);
    const StoredChatServer stored = ReadChatServer(settings, keyring, std::nullopt);
    EXPECT_EQ(stored.server.apiKey, c.key) << c.what;
    EXPECT_EQ(stored.keyPlace, c.place) << c.what;
    EXPECT_EQ(settings.ReadString(settings::kLlmApiKey, u"(none)"), c.fileAfter) << c.what;
    EXPECT_EQ(keyring.secrets["LlmApiKey"], c.keyringAfter) << c.what;
    EXPECT_EQ(ReadChatServer(settings, keyring, std::nullopt).server.apiKey, c.key) << c.what << ", read again";
  }
}

TEST(ChatServerSettings, TheDialogsKeyGoesToTheKeyringWhenItCanElseToTheSettings) {
  const struct {
    const char* what;
    Keyring keyring;
    std::string key;
    KeyPlace place;
    std::u16string fileAfter;
    std::string keyringAfter;
  } cases[] = {
      {"no keyring", Keyring::Absent, "sk-9", KeyPlace::SettingsFile, u"sk-9", "sk-old"},
      {"keyring", Keyring::Works, "sk-9", KeyPlace::Keyring, u"", "sk-9"},
      {"write fails", Keyring::WritesFail, "sk-9", KeyPlace::SettingsFile, u"sk-9", "sk-old"},
      {"does not read back", Keyring::WritesGetLost, "sk-9", KeyPlace::SettingsFile, u"sk-9", ""},
      {"emptied", Keyring::Works, "", KeyPlace::Keyring, u"", ""},
  };
  for (const auto& c : cases) {
    test::FakeSecretStore keyring = MakeKeyring(c.keyring, "sk-old");
    MemorySettingsStore settings;
    settings.WriteString(settings::kLlmApiKey, u"sk-stale");
    EXPECT_EQ(WriteChatServer(settings, keyring, {"http://127.0.0.1:8080", "m\u00E9", c.key}), c.place) << c.what;
    EXPECT_EQ(settings.ReadString(settings::kLlmApiKey, u"(none)"), c.fileAfter) << c.what;
    EXPECT_EQ(keyring.secrets["LlmApiKey"], c.keyringAfter) << c.what;
    const StoredChatServer stored = ReadChatServer(settings, keyring, std::string("from-env"));
    EXPECT_EQ(stored.server.baseUrl, "http://127.0.0.1:8080") << c.what;
    EXPECT_EQ(stored.server.model, "m\u00E9") << c.what;
    EXPECT_EQ(stored.server.apiKey, c.key.empty() ? "from-env" : c.key) << c.what;
  }
}

}  // namespace
}  // namespace nomvarix
