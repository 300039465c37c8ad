// The keyring on Windows: generic credentials of the Credential Manager, one per secret.
#include <windows.h>
#include <wincred.h>

#include <cstdlib>

#include "platform/SecretStore.h"
#include "platform/SettingsStore.h"

namespace nomvarix {
namespace {

/// The credential's target name: the program's name and the secret's (ASCII) name.
std::wstring TargetName(std::string_view name) {
  std::wstring target = L"Nomvarix/";
  target.append(name.begin(), name.end());
  return target;
}

class CredentialStore final : public SecretStore {
 public:
  bool Available() const override { return usable_; }

  std::optional<std::string> Read(std::string_view name) override {
    if (!usable_) return std::nullopt;
    PCREDENTIALW credential = nullptr;
    if (!CredReadW(TargetName(name).c_str(), CRED_TYPE_GENERIC, 0, &credential)) {
      if (GetLastError() == ERROR_NOT_FOUND) return std::string();
      return std::nullopt;
    }
    std::string secret(reinterpret_cast<const char*>(credential->CredentialBlob), credential->CredentialBlobSize);
    CredFree(credential);
    return secret;
  }

  bool Write(std::string_view name, std::string_view secret) override {
    if (!usable_ || secret.size() > CRED_MAX_CREDENTIAL_BLOB_SIZE) return false;
    std::wstring target = TargetName(name);
    std::string blob(secret);
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = target.data();
    credential.CredentialBlobSize = static_cast<DWORD>(blob.size());
    credential.CredentialBlob = reinterpret_cast<LPBYTE>(blob.data());
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    credential.UserName = const_cast<wchar_t*>(L"Nomvarix");
    return CredWriteW(&credential, 0);
  }

  bool Remove(std::string_view name) override {
    if (!usable_) return false;
    return CredDeleteW(TargetName(name).c_str(), CRED_TYPE_GENERIC, 0) || GetLastError() == ERROR_NOT_FOUND;
  }

 private:
  bool usable_ = !std::getenv(kSettingsFileVariable);
};

}  // namespace

std::unique_ptr<SecretStore> MakeSystemSecretStore() { return std::make_unique<CredentialStore>(); }

}  // namespace nomvarix
