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

/// Settings take a few kilobytes; a file many times larger was not written by this program, and
/// reading it would hold up every start and every write.
constexpr std::size_t kMaxSettingsBytes = std::size_t{1} << 20;

/// Whether a line is one a settings file holds: blank, a comment, a [section] or name=value. Names
/// of folders that are not UTF-8 are kept as their bytes, so any byte but NUL may appear.
bool IsSettingsLine(std::string_view line) {
  if (line.find('\0') != std::string_view::npos) return false;
  const std::size_t first = line.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return true;
  line.remove_prefix(first);
  line = line.substr(0, line.find_last_not_of(" \t\r\n") + 1);
  if (line[0] == '#' || line[0] == ';') return true;
  if (line[0] == '[' && line.back() == ']') return true;
  // A value without a name makes wxFileConfig assert.
  return line[0] != '=' && line.find('=') != std::string_view::npos;
}

/// The settings lines of a settings file's text; a file that holds anything else is damaged.
std::string SettingsLines(std::string_view text) {
  std::string kept;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
    text.remove_prefix(line.size());
    if (IsSettingsLine(line)) kept += line;
  }
  return kept;
}

/// The values of a settings file's text. Whatever cannot be read is left out, silently: a damaged
/// file reads as the defaults.
std::unique_ptr<wxFileConfig> ParseSettings(std::string_view text) {
  wxLogNull quiet;
  const std::string readable = SettingsLines(text);
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
  ReadFile();
  // Written by an older version, or by hand: the API key is no one else's business.
  if (writable_ && !DoReadString(kSettingsSection, settings::kLlmApiKey, u"").empty()) KeepToOwner(file_);
}

void ConfigSettingsStore::ReadFile() {
  const SharedFileContent content = ReadSharedFileChecked(file_, kMaxSettingsBytes);
  std::unique_ptr<wxFileConfig> parsed =
      ParseSettings(content.state == SharedFileState::kRead ? content.bytes : std::string());
  wxFileConfig& values = *parsed;
  config_ = std::move(parsed);
  switch (content.state) {
    case SharedFileState::kRead:
    case SharedFileState::kMissing:
    case SharedFileState::kTooLarge:
      break;
    case SharedFileState::kNotAFile:
      writable_ = false;
      problem_ = u"Settings cannot be saved: \"" + file_ + u"\" is not a regular file.";
      return;
    case SharedFileState::kUnreadable:
      writable_ = false;
      problem_ = u"Settings cannot be read or saved: \"" + file_ + u"\" cannot be read.";
      return;
  }
  const bool damaged = content.state == SharedFileState::kTooLarge ||
                       (content.state == SharedFileState::kRead && SettingsLines(content.bytes).size() != content.bytes.size());
  if (content.readOnly) {
    // Kept as the user made it, damaged or not.
    writable_ = false;
    problem_ = u"Settings cannot be saved: \"" + file_ + u"\" is read-only.";
    return;
  }
  if (!damaged) return;
  // Never cut down: the whole file is kept beside the new one, which starts from what could be read.
  const std::u16string aside = file_ + u".bad";
  if (!SetSharedFileAside(file_, aside)) {
    writable_ = false;
    problem_ = u"Settings cannot be saved: \"" + file_ + u"\" is damaged and could not be set aside.";
    return;
  }
  problem_ = u"The settings file was damaged; it was set aside as \"" + aside + u"\".";
  UpdateSharedFile(file_, [&](std::string_view current) -> std::optional<std::string> {
    if (!current.empty()) return std::nullopt;  // another program wrote a new one meanwhile
    return TextOf(values);
  });
}

ConfigSettingsStore::~ConfigSettingsStore() = default;

bool ConfigSettingsStore::Write(const std::function<bool(wxConfigBase&)>& change) {
  wxLogNull quiet;
  if (!StoresText()) return change(*config_) && config_->Flush();
  if (!writable_) {
    change(*config_);
    return false;
  }
  // The file as it is now, not as it was read: other running programs may have written since.
  const bool written = UpdateSharedFile(
      file_,
      [&](std::string_view current) -> std::optional<std::string> {
        auto config = ParseSettings(current);
        if (!change(*config)) return std::nullopt;
        std::optional<std::string> text = TextOf(*config);
        config_ = std::move(config);
        return text;
      },
      kMaxSettingsBytes);
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

bool ConfigSettingsStore::DoUpdateStrings(std::u16string_view section, const std::vector<std::u16string>& keys,
                                          const std::function<void(std::vector<std::u16string>& values)>& change,
                                          std::vector<std::u16string>& values) {
  // Called again on the file's current values, under the lock, when the file is written.
  return Write([&](wxConfigBase& config) {
    values.clear();
    wxString text;
    for (const std::u16string& key : keys) {
      values.push_back(config.Read(PathOf(section, key), &text) ? FromWx(text) : std::u16string());
    }
    change(values);
    bool written = true;
    for (std::size_t i = 0; i < keys.size() && i < values.size(); ++i) {
      written = config.Write(PathOf(section, keys[i]), ToWxKept(values[i])) && written;
    }
    return written;
  });
}

}  // namespace nomvarix
