#include "view/KeyCodes.h"

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

}  // namespace

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
  return VirtualKeyOfWxKey(event.GetKeyCode());
#endif
}

}  // namespace nomvarix
