#include "app/ConfigSettingsStore.h"

#include <cstdint>
#include <optional>

#include <wx/config.h>
#include <wx/filename.h>
#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/utils.h>
#ifdef __WXMSW__
#include <wx/msw/regconf.h>
#endif

#include "controls/WxText.h"
#include "platform/SettingKeys.h"
#include "platform/SharedFile.h"

namespace nomvarix {
namespace {

wxString PathOf(std::u16string_view section, std::u16string_view key) {
  return "/" + ToWx(section) + "/" + ToWx(key);
}

/// The lines of a settings file that wxFileConfig can take: a line with a value but no name makes
/// it assert.
std::string WithoutNamelessValues(std::string_view text) {
  std::string kept;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
    text.remove_prefix(line.size());
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line[start] != '=') kept += line;
  }
  return kept;
}

/// The values of a settings file's text. Whatever cannot be read is left out, silently: a damaged
/// file reads as the defaults.
std::unique_ptr<wxFileConfig> ParseSettings(std::string_view text) {
  wxLogNull quiet;
  const std::string readable = WithoutNamelessValues(text);
  wxMemoryInputStream in(readable.data(), readable.size());
  // Folder paths are kept as the bytes of their names, also where those are not UTF-8.
  auto config = std::make_unique<wxFileConfig>(in, LosslessUtf8Conv());
  // Values are stored as given: a "$HOME" in a folder name is not an environment variable.
  config->SetExpandEnvVars(false);
  return config;
}

std::optional<std::string> TextOf(wxFileConfig& config) {
  wxMemoryOutputStream out;
  if (!config.Save(out, LosslessUtf8Conv())) return std::nullopt;
  std::string text(out.GetSize(), '\0');
  out.CopyTo(text.data(), text.size());
  return text;
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
    return std::make_unique<ConfigSettingsStore>(FromWx(path));
  }
#ifdef __WXMSW__
  // Only the user's own key: no machine-wide values behind it.
  return std::make_unique<ConfigSettingsStore>(
      std::make_unique<wxRegConfig>("Nomvarix", "Quorvantine", wxEmptyString, wxEmptyString, wxCONFIG_USE_LOCAL_FILE));
#else
  wxString configHome;
  if (!wxGetEnv("XDG_CONFIG_HOME", &configHome) || configHome.empty()) {
    configHome = wxFileName::GetHomeDir() + "/.config";
  }
  return std::make_unique<ConfigSettingsStore>(FromWx(configHome + "/Nomvarix/Nomvarix.conf"));
#endif
}

ConfigSettingsStore::ConfigSettingsStore(std::unique_ptr<wxConfigBase> registry) : config_(std::move(registry)) {
  config_->SetExpandEnvVars(false);
}

ConfigSettingsStore::ConfigSettingsStore(std::u16string path) : file_(std::move(path)) {
  const wxFileName file(ToWx(file_));
  if (!file.DirExists()) wxFileName::Mkdir(file.GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  config_ = ParseSettings(ReadSharedFile(file_).value_or(std::string()));
  // Written by an older version, or by hand: the API key is no one else's business.
  if (!DoReadString(kSettingsSection, settings::kLlmApiKey, u"").empty()) KeepToOwner(file_);
}

ConfigSettingsStore::~ConfigSettingsStore() = default;

bool ConfigSettingsStore::Write(const std::function<bool(wxConfigBase&)>& change) {
  wxLogNull quiet;
  if (!StoresText()) return change(*config_) && config_->Flush();
  // The file as it is now, not as it was read: other running programs may have written since.
  const bool written = UpdateSharedFile(file_, [&](std::string_view current) -> std::optional<std::string> {
    auto config = ParseSettings(current);
    if (!change(*config)) return std::nullopt;
    std::optional<std::string> text = TextOf(*config);
    config_ = std::move(config);
    return text;
  });
  if (!written) change(*config_);
  return written;
}

std::uint32_t ConfigSettingsStore::DoReadInteger(std::u16string_view section, std::u16string_view key,
                                                 std::uint32_t defaultValue) const {
  wxLogNull quiet;  // an unreadable value is the default, never a message
  const wxString path = PathOf(section, key);
  if (!config_->HasEntry(path)) return defaultValue;
  if (StoresText()) {
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
  const wxString path = PathOf(section, key);
  // A registry keeps the 32 bits as a DWORD whatever the sign of long; a file keeps the number.
  if (StoresText()) return Write([&](wxConfigBase& config) { return config.Write(path, wxString::Format("%u", value)); });
  return Write([&](wxConfigBase& config) { return config.Write(path, static_cast<long>(static_cast<std::int32_t>(value))); });
}

std::u16string ConfigSettingsStore::DoReadString(std::u16string_view section, std::u16string_view key,
                                                 std::u16string_view defaultValue) const {
  wxLogNull quiet;
  const wxString path = PathOf(section, key);
  if (!config_->HasEntry(path)) return std::u16string(defaultValue);
  if (!StoresText() && config_->GetEntryType(path) != wxConfigBase::Type_String) {
    return std::u16string(defaultValue);
  }
  wxString text;
  return config_->Read(path, &text) ? FromWx(text) : std::u16string(defaultValue);
}

bool ConfigSettingsStore::DoWriteString(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view value) {
  const wxString path = PathOf(section, key);
  const wxString text = ToWxKept(value);
  return Write([&](wxConfigBase& config) { return config.Write(path, text); });
}

}  // namespace nomvarix
