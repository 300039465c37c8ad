#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/SecretStore.h"
#include "platform/SettingsStore.h"
#include "support/TempFolder.h"

namespace nomvarix {
namespace {

/// Sets an environment variable for the life of the object (unsets it for an empty value).
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value.empty()) unsetenv(name); else setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) setenv(name_, old_->c_str(), 1); else unsetenv(name_);
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// No case here reaches a real keyring: each names no bus, a bus that is not there, or a settings
// file of its own.
TEST(SecretServiceStoreTest, WithoutAServiceToAnswerNothingIsKeptAndTheStoreSaysSo) {
  test::TempFolder runtime;  // holds no "bus" socket
  const struct {
    const char* what;
    std::string busAddress;
    std::string runtimeFolder;
    std::string settingsFile;
    bool availableAtFirst;
  } cases[] = {
      {"no session bus", "", "", "", false},
      {"a runtime folder without a bus", "", runtime.Path(), "", false},
      {"a bus that is not there", "unix:path=" + runtime.Path() + "no-bus", "", "", true},
      {"a settings file of its own", "unix:path=" + runtime.Path() + "no-bus", "", runtime.Path() + "s.conf", false},
  };
  for (const auto& c : cases) {
    const ScopedVariable bus("DBUS_SESSION_BUS_ADDRESS", c.busAddress);
    const ScopedVariable folder("XDG_RUNTIME_DIR", c.runtimeFolder);
    const ScopedVariable settings(kSettingsFileVariable, c.settingsFile);
    const std::unique_ptr<SecretStore> store = MakeSystemSecretStore();
    EXPECT_EQ(store->Available(), c.availableAtFirst) << c.what;
    EXPECT_FALSE(store->Write("LlmApiKey", "sk-\xC3\xA9t\xC3\xA9")) << c.what;
    EXPECT_EQ(store->Read("LlmApiKey"), std::nullopt) << c.what;
    EXPECT_FALSE(store->Available()) << c.what << ": a keyring that failed is not asked again";
  }
}

}  // namespace
}  // namespace nomvarix
