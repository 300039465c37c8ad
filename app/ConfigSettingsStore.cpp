#include "app/ConfigSettingsStore.h"

#include <cstdint>
#include <optional>

#include <wx/config.h>
#include <wx/filename.h>
#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/utils.h>
#ifdef __WXMSW__
#include <wx/msw/regconf.h>
#endif

#include "controls/WxText.h"

namespace nomvarix {
namespace {

wxString PathOf(std::u16string_view section, std::u16string_view key) {
  return "/" + ToWx(section) + "/" + ToWx(key);
}

std::unique_ptr<wxConfigBase> OpenFile(const wxString& path) {
  const wxFileName file(path);
  if (!file.DirExists()) wxFileName::Mkdir(file.GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  // Folder paths are kept as the bytes of their names, also where those are not UTF-8.
  auto config = std::make_unique<wxFileConfig>(wxEmptyString, wxEmptyString, file.GetFullPath(),
                                               wxEmptyString, wxCONFIG_USE_LOCAL_FILE, LosslessUtf8Conv());
  // The file may hold the chat server's API key: readable by its owner only.
  config->SetUmask(077);
  return config;
}

/// Integer text as a file holds it; values beyond 32 bits are not integers of this store.
std::optional<std::uint32_t> ParseInteger(const wxString& text) {
  long long value = 0;
  if (!text.ToLongLong(&value) || value < INT32_MIN || value > UINT32_MAX) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::unique_ptr<ConfigSettingsStore> ConfigSettingsStore::OpenUserSettings() {
  wxString path;
  if (wxGetEnv(kSettingsFileVariable, &path) && !path.empty()) {
    return std::make_unique<ConfigSettingsStore>(OpenFile(path), true);
  }
#ifdef __WXMSW__
  // Only the user's own key: no machine-wide values behind it.
  return std::make_unique<ConfigSettingsStore>(
      std::make_unique<wxRegConfig>("Nomvarix", "Quorvantine", wxEmptyString, wxEmptyString, wxCONFIG_USE_LOCAL_FILE),
      false);
#else
  wxString configHome;
  if (!wxGetEnv("XDG_CONFIG_HOME", &configHome) || configHome.empty()) {
    configHome = wxFileName::GetHomeDir() + "/.config";
  }
  return std::make_unique<ConfigSettingsStore>(OpenFile(configHome + "/Nomvarix/Nomvarix.conf"), true);
#endif
}

ConfigSettingsStore::ConfigSettingsStore(std::unique_ptr<wxConfigBase> config, bool storesText)
    : config_(std::move(config)), storesText_(storesText) {
  // Values are stored as given: a "$HOME" in a folder name is not an environment variable.
  config_->SetExpandEnvVars(false);
}

ConfigSettingsStore::~ConfigSettingsStore() = default;

std::uint32_t ConfigSettingsStore::DoReadInteger(std::u16string_view section, std::u16string_view key,
                                                 std::uint32_t defaultValue) const {
  wxLogNull quiet;  // an unreadable value is the default, never a message
  const wxString path = PathOf(section, key);
  if (!config_->HasEntry(path)) return defaultValue;
  if (storesText_) {
    wxString text;
    if (!config_->Read(path, &text)) return defaultValue;
    return ParseInteger(text).value_or(defaultValue);
  }
  if (config_->GetEntryType(path) != wxConfigBase::Type_Integer) return defaultValue;
  long value = 0;
  return config_->Read(path, &value) ? static_cast<std::uint32_t>(value) : defaultValue;
}

bool ConfigSettingsStore::DoWriteInteger(std::u16string_view section, std::u16string_view key,
                                         std::uint32_t value) {
  wxLogNull quiet;
  const wxString path = PathOf(section, key);
  // A registry keeps the 32 bits as a DWORD whatever the sign of long; a file keeps the number.
  const bool written = storesText_ ? config_->Write(path, wxString::Format("%u", value))
                                   : config_->Write(path, static_cast<long>(static_cast<std::int32_t>(value)));
  return written && config_->Flush();
}

std::u16string ConfigSettingsStore::DoReadString(std::u16string_view section, std::u16string_view key,
                                                 std::u16string_view defaultValue) const {
  wxLogNull quiet;
  const wxString path = PathOf(section, key);
  if (!config_->HasEntry(path)) return std::u16string(defaultValue);
  if (!storesText_ && config_->GetEntryType(path) != wxConfigBase::Type_String) {
    return std::u16string(defaultValue);
  }
  wxString text;
  return config_->Read(path, &text) ? FromWx(text) : std::u16string(defaultValue);
}

bool ConfigSettingsStore::DoWriteString(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view value) {
  wxLogNull quiet;
  return config_->Write(PathOf(section, key), ToWxKept(value)) && config_->Flush();
}

}  // namespace nomvarix
