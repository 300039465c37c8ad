#include <windows.h>

#include "platform/KeyInjection.h"

namespace nomvarix {

bool InjectKey(std::int32_t virtualKey, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  return SendInput(1, &input, sizeof input) == 1;
}

}  // namespace nomvarix
