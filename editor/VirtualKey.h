#pragma once

namespace nomvarix::vk {

// The Windows virtual-key codes. The editor's key handling and the macro files speak these on
// every platform; the view translates the toolkit's key events into them. Letters and digits are
// their upper-case ASCII codes ('A'..'Z', '0'..'9').
enum : int {
  kBack = 0x08,
  kTab = 0x09,
  kClear = 0x0C,
  kReturn = 0x0D,
  kShift = 0x10,
  kControl = 0x11,
  kMenu = 0x12,  // Alt
  kPause = 0x13,
  kCapital = 0x14,
  kEscape = 0x1B,
  kSpace = 0x20,
  kPrior = 0x21,  // Page Up
  kNext = 0x22,   // Page Down
  kEnd = 0x23,
  kHome = 0x24,
  kLeft = 0x25,
  kUp = 0x26,
  kRight = 0x27,
  kDown = 0x28,
  kSelect = 0x29,
  kPrint = 0x2A,
  kExecute = 0x2B,
  kSnapshot = 0x2C,
  kInsert = 0x2D,
  kDelete = 0x2E,
  kHelp = 0x2F,
  kLWin = 0x5B,
  kRWin = 0x5C,
  kApps = 0x5D,
  kNumpad0 = 0x60,  // to kNumpad9 = 0x69
  kMultiply = 0x6A,
  kAdd = 0x6B,
  kSeparator = 0x6C,
  kSubtract = 0x6D,
  kDecimal = 0x6E,
  kDivide = 0x6F,
  kF1 = 0x70,  // to kF24 = 0x87
  kF3 = 0x72,
  kF6 = 0x75,
  kF24 = 0x87,
  kNumLock = 0x90,
  kScroll = 0x91,
  kLShift = 0xA0,
  kRShift = 0xA1,
  kLControl = 0xA2,
  kRControl = 0xA3,
  kLMenu = 0xA4,
  kRMenu = 0xA5,
  kOem1 = 0xBA,       // ;:
  kOemPlus = 0xBB,    // =+
  kOemComma = 0xBC,   // ,<
  kOemMinus = 0xBD,   // -_
  kOemPeriod = 0xBE,  // .>
  kOem2 = 0xBF,       // /?
  kOem3 = 0xC0,       // `~
  kOem4 = 0xDB,       // [{
  kOem5 = 0xDC,       // \|
  kOem6 = 0xDD,       // ]}
  kOem7 = 0xDE,       // '"
  kOem102 = 0xE2,     // the key between left Shift and Z of European keyboards
};

}  // namespace nomvarix::vk
