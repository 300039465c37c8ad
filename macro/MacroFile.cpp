#include "macro/MacroFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>

#include "platform/FileSystem.h"

namespace nomvarix {
namespace {

struct NamedKey {
  std::string_view name;
  std::int32_t code;
};

// Searched in this order, both ways.
constexpr NamedKey kNamedKeys[] = {
    {"VK_BACK", 8},     {"VK_TAB", 9},     {"VK_CLEAR", 12},   {"VK_RETURN", 13}, {"VK_SHIFT", 16},
    {"VK_CONTROL", 17}, {"VK_MENU", 18},   {"VK_PAUSE", 19},   {"VK_CAPITAL", 20}, {"VK_ESCAPE", 27},
    {"VK_PRIOR", 33},   {"VK_NEXT", 34},   {"VK_END", 35},     {"VK_HOME", 36},   {"VK_LEFT", 37},
    {"VK_UP", 38},      {"VK_RIGHT", 39},  {"VK_DOWN", 40},    {"VK_DELETE", 46}, {"VK_F1", 112},
    {"VK_F2", 113},     {"VK_F3", 114},    {"VK_F4", 115},     {"VK_F5", 116},    {"VK_F6", 117},
    {"VK_F7", 118},     {"VK_F8", 119},    {"VK_F9", 120},     {"VK_F10", 121},   {"VK_F11", 122},
    {"VK_F12", 123},
};

/// A macro file is small text; anything larger is not one.
constexpr std::size_t kMaxMacroFileBytes = 16 * 1024 * 1024;

std::string KeyToken(std::int32_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
  for (const NamedKey& key : kNamedKeys) {
    if (key.code == code) return std::string(key.name);
  }
  // A code of one decimal digit would read back as that digit's key: "06" reads as 6.
  const std::string decimal = std::to_string(code);
  return decimal.size() == 1 ? "0" + decimal : decimal;
}

/// The decimal reading of the standard string-to-integer conversion: leading white space, a sign,
/// digits up to the first other character; nothing read or out of 32 bits is no number.
std::optional<std::int32_t> DecimalPrefix(const std::string& token) {
  const char* begin = token.c_str();
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(begin, &end, 10);
  if (end == begin || errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> KeyCodeOf(std::string_view token) {
  std::optional<std::int32_t> code;
  if (token.starts_with("VK_")) {
    for (const NamedKey& key : kNamedKeys) {
      if (key.name == token) code = key.code;
    }
  } else if (token.size() == 1) {
    const char c = token[0];
    code = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : static_cast<unsigned char>(c);
  } else {
    code = DecimalPrefix(std::string(token));
  }
  if (code == 0) return std::nullopt;
  return code;
}

/// The key token of the lines that give the character the press before them typed. Readers that
/// do not know these lines skip them, as a key token that is no key.
constexpr std::string_view kCharacterToken = "CHAR";

/// Printable ASCII as itself, anything else as U+ and four hex digits.
std::string CharacterToken(char16_t character) {
  if (character > u' ' && character < 0x7F) return std::string(1, static_cast<char>(character));
  char hex[8];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(character));
  return hex;
}

std::optional<char16_t> CharacterOf(std::string_view token) {
  if (token.size() == 1 && token[0] >= ' ' && token[0] < 0x7F) return static_cast<char16_t>(token[0]);
  if (token.size() != 6 || !token.starts_with("U+")) return std::nullopt;
  unsigned value = 0;
  for (const char c : token.substr(2)) {
    const auto digit = std::string_view("0123456789ABCDEF").find(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
    if (digit == std::string_view::npos) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  if (value < 0x20) return std::nullopt;
  return static_cast<char16_t>(value);
}

enum class State { Down, Up, Click };

std::optional<State> StateOf(std::string_view token) {
  for (const std::string_view down : {"DOWN", "down", "Down", "D", "d", "1"}) {
    if (token == down) return State::Down;
  }
  for (const std::string_view up : {"UP", "up", "Up", "U", "u", "0"}) {
    if (token == up) return State::Up;
  }
  for (const std::string_view click : {"CLICK", "click", "C"}) {
    if (token == click) return State::Click;
  }
  return std::nullopt;
}

void ParseLine(std::string_view line, std::vector<KeyEvent>& events) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) return;
  if (line.substr(0, comma) == kCharacterToken) {
    const std::optional<char16_t> character = CharacterOf(line.substr(comma + 1));
    if (character && !events.empty() && events.back().down) events.back().character = *character;
    return;
  }
  const std::optional<std::int32_t> code = KeyCodeOf(line.substr(0, comma));
  const std::optional<State> state = StateOf(line.substr(comma + 1));
  if (!code || !state) return;
  if (*state != State::Up) events.push_back({*code, true});
  if (*state != State::Down) events.push_back({*code, false});
}

}  // namespace

std::string FormatMacro(const std::vector<KeyEvent>& events) {
  std::string text;
  for (const KeyEvent& event : events) {
    text += KeyToken(event.virtualKey);
    text += event.down ? ",DOWN\r\n" : ",UP\r\n";
    if (event.down && event.character != 0) {
      text += kCharacterToken;
      text += ',';
      text += CharacterToken(event.character);
      text += "\r\n";
    }
  }
  return text;
}

std::vector<KeyEvent> ParseMacro(std::string_view text) {
  std::vector<KeyEvent> events;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    ParseLine(line, events);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return events;
}

bool SaveMacroFile(FileSystem& fileSystem, std::u16string_view path, const std::vector<KeyEvent>& events) {
  return fileSystem.WriteWholeFile(path, FormatMacro(events));
}

std::optional<std::vector<KeyEvent>> LoadMacroFile(const FileSystem& fileSystem, std::u16string_view path) {
  const std::optional<std::string> text = fileSystem.ReadWholeFile(path, kMaxMacroFileBytes);
  if (!text) return std::nullopt;
  return ParseMacro(*text);
}

}  // namespace nomvarix
