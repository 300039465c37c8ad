#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/SettingsStore.h"

class wxConfigBase;

namespace nomvarix {

/// Settings kept by wxConfig, each section a group. Every write is made at once: in the registry
/// value by value; in a file by putting the one value into the file as it is at that moment, so
/// that programs running side by side on the same file keep each other's values.
class ConfigSettingsStore final : public SettingsStore {
 public:
  /// The store of the user's settings: the file named by NOMVARIX_SETTINGS_FILE when it is set;
  /// otherwise the registry key HKCU\Software\Quorvantine\Nomvarix on Windows, and the file
  /// Nomvarix/Nomvarix.conf in the XDG configuration folder elsewhere.
  static std::unique_ptr<ConfigSettingsStore> OpenUserSettings();

  /// Values of their own kinds in the registry behind `registry`.
  explicit ConfigSettingsStore(std::unique_ptr<wxConfigBase> registry);
  /// Values as text in the file at `path`; its folder is created when missing.
  explicit ConfigSettingsStore(std::u16string path);
  ~ConfigSettingsStore() override;

  /// What went wrong with the settings file when it was opened, for the status bar: empty when
  /// nothing did.
  const std::u16string& Problem() const { return problem_; }

 private:
  std::uint32_t DoReadInteger(std::u16string_view section, std::u16string_view key,
                              std::uint32_t defaultValue) const override;
  bool DoWriteInteger(std::u16string_view section, std::u16string_view key, std::uint32_t value) override;
  std::u16string DoReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const override;
  bool DoWriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) override;
  bool DoUpdateStrings(std::u16string_view section, const std::vector<std::u16string>& keys,
                       const std::function<void(std::vector<std::u16string>& values)>& change,
                       std::vector<std::u16string>& values) override;

  bool StoresText() const { return !file_.empty(); }
  /// Reads the settings file, setting a damaged or oversized one aside.
  void ReadFile();
  /// Makes `change` to the stored values and keeps it.
  bool Write(const std::function<bool(wxConfigBase&)>& change);

  std::unique_ptr<wxConfigBase> config_;  ///< the registry, or the file's values as last read
  std::u16string file_;                   ///< empty for the registry
  bool writable_ = true;                  ///< false when the file must be left as it is
  std::u16string problem_;
};

}  // namespace nomvarix
