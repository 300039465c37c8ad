#include "view/KeyCodes.h"

#include <initializer_list>
#include <span>

#include <wx/defs.h>
#include <wx/event.h>

#include "editor/VirtualKey.h"

namespace nomvarix {
namespace {

struct KeyPair {
  int wxKey;
  int virtualKey;
};

// Keys whose toolkit code differs from their virtual-key code. The keypad's navigation keys (Num
// Lock off) are the navigation keys, as on Windows.
constexpr KeyPair kKeyPairs[] = {
    {WXK_DELETE, vk::kDelete},        {WXK_SHIFT, vk::kShift},
    {WXK_CONTROL, vk::kControl},      {WXK_RAW_CONTROL, vk::kControl},
    {WXK_ALT, vk::kMenu},             {WXK_PAUSE, vk::kPause},
    {WXK_CAPITAL, vk::kCapital},      {WXK_PAGEUP, vk::kPrior},
    {WXK_PAGEDOWN, vk::kNext},        {WXK_END, vk::kEnd},
    {WXK_HOME, vk::kHome},            {WXK_LEFT, vk::kLeft},
    {WXK_UP, vk::kUp},                {WXK_RIGHT, vk::kRight},
    {WXK_DOWN, vk::kDown},            {WXK_SELECT, vk::kSelect},
    {WXK_PRINT, vk::kPrint},          {WXK_EXECUTE, vk::kExecute},
    {WXK_SNAPSHOT, vk::kSnapshot},    {WXK_INSERT, vk::kInsert},
    {WXK_HELP, vk::kHelp},            {WXK_CLEAR, vk::kClear},
    {WXK_WINDOWS_LEFT, vk::kLWin},    {WXK_WINDOWS_RIGHT, vk::kRWin},
    {WXK_WINDOWS_MENU, vk::kApps},    {WXK_MULTIPLY, vk::kMultiply},
    {WXK_ADD, vk::kAdd},              {WXK_SEPARATOR, vk::kSeparator},
    {WXK_SUBTRACT, vk::kSubtract},    {WXK_DECIMAL, vk::kDecimal},
    {WXK_DIVIDE, vk::kDivide},        {WXK_NUMLOCK, vk::kNumLock},
    {WXK_SCROLL, vk::kScroll},        {WXK_NUMPAD_SPACE, vk::kSpace},
    {WXK_NUMPAD_TAB, vk::kTab},       {WXK_NUMPAD_ENTER, vk::kReturn},
    {WXK_NUMPAD_HOME, vk::kHome},     {WXK_NUMPAD_LEFT, vk::kLeft},
    {WXK_NUMPAD_UP, vk::kUp},         {WXK_NUMPAD_RIGHT, vk::kRight},
    {WXK_NUMPAD_DOWN, vk::kDown},     {WXK_NUMPAD_PAGEUP, vk::kPrior},
    {WXK_NUMPAD_PAGEDOWN, vk::kNext}, {WXK_NUMPAD_END, vk::kEnd},
    {WXK_NUMPAD_BEGIN, vk::kClear},   {WXK_NUMPAD_INSERT, vk::kInsert},
    {WXK_NUMPAD_DELETE, vk::kDelete}, {WXK_NUMPAD_EQUAL, vk::kOemPlus},
    {WXK_NUMPAD_MULTIPLY, vk::kMultiply}, {WXK_NUMPAD_ADD, vk::kAdd},
    {WXK_NUMPAD_SEPARATOR, vk::kSeparator}, {WXK_NUMPAD_SUBTRACT, vk::kSubtract},
    {WXK_NUMPAD_DECIMAL, vk::kDecimal}, {WXK_NUMPAD_DIVIDE, vk::kDivide},
};

/// The punctuation keys of a US layout, with the characters they type without and with Shift.
struct PunctuationKey {
  int virtualKey;
  char16_t plain;
  char16_t shifted;
};

constexpr PunctuationKey kPunctuationKeys[] = {
    {vk::kOem1, u';', u':'},     {vk::kOemPlus, u'=', u'+'}, {vk::kOemComma, u',', u'<'},
    {vk::kOemMinus, u'-', u'_'}, {vk::kOemPeriod, u'.', u'>'}, {vk::kOem2, u'/', u'?'},
    {vk::kOem3, u'`', u'~'},     {vk::kOem4, u'[', u'{'},     {vk::kOem5, u'\\', u'|'},
    {vk::kOem6, u']', u'}'},     {vk::kOem7, u'\'', u'"'},
};

/// Keys that type the same character with Shift or without: the space bar and the keypad's.
constexpr PunctuationKey kSameCharacterKeys[] = {
    {vk::kSpace, u' ', u' '},    {vk::kMultiply, u'*', u'*'}, {vk::kAdd, u'+', u'+'},
    {vk::kSubtract, u'-', u'-'}, {vk::kDecimal, u'.', u'.'},  {vk::kDivide, u'/', u'/'},
};

/// The rows of an evdev keyboard's character keys, from their first key code on, as they sit on a
/// US layout.
struct KeyRow {
  unsigned firstKeyCode;
  std::initializer_list<int> virtualKeys;
};

const KeyRow kKeyRows[] = {
    {10, {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', vk::kOemMinus, vk::kOemPlus}},
    {24, {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', vk::kOem4, vk::kOem6}},
    {38, {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', vk::kOem1, vk::kOem7, vk::kOem3}},
    {51, {vk::kOem5, 'Z', 'X', 'C', 'V', 'B', 'N', 'M', vk::kOemComma, vk::kOemPeriod, vk::kOem2}},
    {94, {vk::kOem102}},
};

}  // namespace

int VirtualKeyOfX11KeyCode(unsigned keyCode) {
  for (const KeyRow& row : kKeyRows) {
    if (keyCode >= row.firstKeyCode && keyCode - row.firstKeyCode < row.virtualKeys.size()) {
      return row.virtualKeys.begin()[keyCode - row.firstKeyCode];
    }
  }
  return 0;
}

int VirtualKeyOfWxKey(int wxKeyCode) {
  if (wxKeyCode >= 'A' && wxKeyCode <= 'Z') return wxKeyCode;
  if (wxKeyCode >= 'a' && wxKeyCode <= 'z') return wxKeyCode - 'a' + 'A';
  if (wxKeyCode >= '0' && wxKeyCode <= '9') return wxKeyCode;
  switch (wxKeyCode) {
    case WXK_BACK:
    case WXK_TAB:
    case WXK_RETURN:
    case WXK_ESCAPE:
    case WXK_SPACE:
      return wxKeyCode;  // the same code in both
    default:
      break;
  }
  if (wxKeyCode >= WXK_NUMPAD0 && wxKeyCode <= WXK_NUMPAD9) return vk::kNumpad0 + (wxKeyCode - WXK_NUMPAD0);
  if (wxKeyCode >= WXK_F1 && wxKeyCode <= WXK_F24) return vk::kF1 + (wxKeyCode - WXK_F1);
  for (const KeyPair& pair : kKeyPairs) {
    if (pair.wxKey == wxKeyCode) return pair.virtualKey;
  }
  for (const PunctuationKey& key : kPunctuationKeys) {
    if (key.plain == wxKeyCode || key.shifted == wxKeyCode) return key.virtualKey;
  }
  return 0;
}

char16_t CharacterOfKey(int virtualKey, bool shift) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return static_cast<char16_t>(shift ? virtualKey : virtualKey - 'A' + 'a');
  if (virtualKey >= '0' && virtualKey <= '9') {
    return static_cast<char16_t>(shift ? u")!@#$%^&*("[virtualKey - '0'] : virtualKey);
  }
  if (virtualKey >= vk::kNumpad0 && virtualKey <= vk::kNumpad0 + 9) return static_cast<char16_t>(u'0' + virtualKey - vk::kNumpad0);
  for (const std::span<const PunctuationKey> table : {std::span<const PunctuationKey>(kPunctuationKeys),
                                                     std::span<const PunctuationKey>(kSameCharacterKeys)}) {
    for (const PunctuationKey& key : table) {
      if (key.virtualKey == virtualKey) return shift ? key.shifted : key.plain;
    }
  }
  return 0;
}

int VirtualKeyOf(const wxKeyEvent& event) {
#ifdef __WXMSW__
  return static_cast<int>(event.GetRawKeyCode());
#else
  // The toolkit names such a key by the character it types: "(" for Shift+9, "ä" for a German
  // keyboard's key right of "ö", which a US table does not know.
  const wxChar ch = event.GetUnicodeKey();
  const bool letterOrDigit = (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
  if (ch > ' ' && !letterOrDigit) {
    if (const int key = VirtualKeyOfX11KeyCode(event.GetRawKeyFlags())) return key;
  }
  return VirtualKeyOfWxKey(event.GetKeyCode());
#endif
}

std::uint32_t PhysicalKeyOf(const wxKeyEvent& event) {
#ifdef __WXMSW__
  // The scan code and the extended-key flag; the other bits differ between press and release.
  return (event.GetRawKeyFlags() >> 16) & 0x1FF;
#else
  return event.GetRawKeyFlags();  // the X key code
#endif
}

KeyStroke KeyStrokeOf(const wxKeyEvent& event) {
  return {.physicalKey = PhysicalKeyOf(event), .virtualKey = VirtualKeyOf(event), .altDown = event.AltDown()};
}

}  // namespace nomvarix
