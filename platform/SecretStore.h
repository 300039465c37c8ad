#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace nomvarix {

/// The system's keyring for the program's secrets, each kept under a name of the program's choice:
/// the Secret Service on Linux, the Credential Manager on Windows.
class SecretStore {
 public:
  virtual ~SecretStore() = default;

  /// False when there is no keyring to use (no session bus, or it failed before): callers then keep
  /// the secret elsewhere, and the other calls do nothing.
  virtual bool Available() const = 0;
  /// The secret kept under `name`, empty when there is none; nothing when the keyring could not be
  /// read.
  virtual std::optional<std::string> Read(std::string_view name) = 0;
  /// Keeps `secret` under `name`, replacing what was there; false when that failed.
  virtual bool Write(std::string_view name, std::string_view secret) = 0;
  /// Removes what is kept under `name`; true also when there was nothing.
  virtual bool Remove(std::string_view name) = 0;
};

/// The system's keyring. None is used (Available() is false) when the settings live in the file
/// that kSettingsFileVariable names: tests and portable use keep their secrets in that file. On
/// Linux a keyring that does not answer within a few seconds counts as absent for the rest of the
/// store's life, so that nobody waits on it twice.
std::unique_ptr<SecretStore> MakeSystemSecretStore();

}  // namespace nomvarix
