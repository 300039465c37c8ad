#pragma once

#include <memory>

#include "platform/SettingsStore.h"

class wxConfigBase;

namespace nomvarix {

/// The environment variable that names another settings file, so that tests and portable use
/// never touch the user's own settings.
inline constexpr const char* kSettingsFileVariable = "NOMVARIX_SETTINGS_FILE";

/// Settings kept by wxConfig, each section a group. Every write is flushed at once.
class ConfigSettingsStore final : public SettingsStore {
 public:
  /// The store of the user's settings: the file named by NOMVARIX_SETTINGS_FILE when it is set;
  /// otherwise the registry key HKCU\Software\Quorvantine\Nomvarix on Windows, and the file
  /// Nomvarix/Nomvarix.conf in the XDG configuration folder elsewhere.
  static std::unique_ptr<ConfigSettingsStore> OpenUserSettings();

  ConfigSettingsStore(std::unique_ptr<wxConfigBase> config, bool storesText);
  ~ConfigSettingsStore() override;

 private:
  std::uint32_t DoReadInteger(std::u16string_view section, std::u16string_view key,
                              std::uint32_t defaultValue) const override;
  bool DoWriteInteger(std::u16string_view section, std::u16string_view key, std::uint32_t value) override;
  std::u16string DoReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const override;
  bool DoWriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) override;

  std::unique_ptr<wxConfigBase> config_;
  bool storesText_;  ///< a file: every value is text, integers are read back by parsing
};

}  // namespace nomvarix
