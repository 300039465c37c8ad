#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nomvarix {

/// The section that holds the program's own settings.
inline constexpr std::u16string_view kSettingsSection = u"Settings";

/// The environment variable that names another settings file, so that tests and portable use
/// never touch the user's own settings (nor the secrets of the user's keyring).
inline constexpr const char* kSettingsFileVariable = "NOMVARIX_SETTINGS_FILE";

/// Per-user named integer and string values grouped in sections. Integers are unsigned 32-bit;
/// booleans are integers written as 1 or 0 and read as true when not 0. A missing value, a value
/// of the other kind or an unreadable store reads as the default; a failed write is not reported
/// beyond its result, which callers may ignore.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  std::uint32_t ReadInteger(std::u16string_view key, std::uint32_t defaultValue,
                            std::u16string_view section = kSettingsSection) const {
    return DoReadInteger(section, key, defaultValue);
  }
  bool WriteInteger(std::u16string_view key, std::uint32_t value,
                    std::u16string_view section = kSettingsSection) {
    return DoWriteInteger(section, key, value);
  }
  std::u16string ReadString(std::u16string_view key, std::u16string_view defaultValue,
                            std::u16string_view section = kSettingsSection) const {
    return DoReadString(section, key, defaultValue);
  }
  bool WriteString(std::u16string_view key, std::u16string_view value,
                   std::u16string_view section = kSettingsSection) {
    return DoWriteString(section, key, value);
  }

  /// Reads the string values `keys` of `section` as they are stored now (a missing one as empty),
  /// lets `change` rewrite them, and stores the result in one step: what another running program
  /// stored meanwhile is taken into account, never overwritten from an older reading. `values`
  /// keeps the stored result, also when storing failed (then false).
  bool UpdateStrings(std::u16string_view section, const std::vector<std::u16string>& keys,
                     const std::function<void(std::vector<std::u16string>& values)>& change,
                     std::vector<std::u16string>& values) {
    return DoUpdateStrings(section, keys, change, values);
  }

  bool ReadFlag(std::u16string_view key, bool defaultValue) const {
    return ReadInteger(key, defaultValue ? 1 : 0) != 0;
  }
  bool WriteFlag(std::u16string_view key, bool value) { return WriteInteger(key, value ? 1 : 0); }

 private:
  virtual std::uint32_t DoReadInteger(std::u16string_view section, std::u16string_view key,
                                      std::uint32_t defaultValue) const = 0;
  virtual bool DoWriteInteger(std::u16string_view section, std::u16string_view key,
                              std::uint32_t value) = 0;
  virtual std::u16string DoReadString(std::u16string_view section, std::u16string_view key,
                                      std::u16string_view defaultValue) const = 0;
  virtual bool DoWriteString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) = 0;
  virtual bool DoUpdateStrings(std::u16string_view section, const std::vector<std::u16string>& keys,
                               const std::function<void(std::vector<std::u16string>& values)>& change,
                               std::vector<std::u16string>& values) = 0;
};

}  // namespace nomvarix
