#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SecretStore.h"

namespace nomvarix::test {

/// A keyring in memory. It can be absent, refuse writes, or keep something other than was written
/// (a keyring that loses what it is given).
class FakeSecretStore final : public SecretStore {
 public:
  bool available = true;
  bool writesFail = false;
  bool writesGetLost = false;
  std::map<std::string, std::string, std::less<>> secrets;

  bool Available() const override { return available; }
  std::optional<std::string> Read(std::string_view name) override {
    if (!available) return std::nullopt;
    const auto found = secrets.find(name);
    return found == secrets.end() ? std::string() : found->second;
  }
  bool Write(std::string_view name, std::string_view secret) override {
    if (!available || writesFail) return false;
    secrets[std::string(name)] = writesGetLost ? std::string() : std::string(secret);
    return true;
  }
  bool Remove(std::string_view name) override {
    if (!available || writesFail) return false;
    secrets.erase(std::string(name));
    return true;
  }
};

}  // namespace nomvarix::test
