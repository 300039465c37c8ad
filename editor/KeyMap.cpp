#include "editor/KeyMap.h"

#include "editor/VirtualKey.h"

namespace nomvarix {
namespace {

std::optional<KeyAction> CtrlEntry(int key) {
  switch (key) {
    case 'A': return KeyAction::SelectAll;
    case 'C': return KeyAction::Copy;
    case 'V': return KeyAction::Paste;
    case 'X': return KeyAction::Cut;
    case 'Z': return KeyAction::Undo;
    case 'Y': return KeyAction::Redo;
    case 'F': return KeyAction::Find;
    case vk::kF3: return KeyAction::FindSelected;
    default: return std::nullopt;
  }
}

std::optional<CaretKey> CaretKeyOf(int key) {
  switch (key) {
    case vk::kLeft: return CaretKey::Left;
    case vk::kRight: return CaretKey::Right;
    case vk::kUp: return CaretKey::Up;
    case vk::kDown: return CaretKey::Down;
    case vk::kPrior: return CaretKey::PageUp;
    case vk::kNext: return CaretKey::PageDown;
    case vk::kHome: return CaretKey::Home;
    case vk::kEnd: return CaretKey::End;
    default: return std::nullopt;
  }
}

}  // namespace

KeyMeaning MeaningOfKey(int virtualKey, bool ctrl) {
  if (ctrl) {
    if (const auto action = CtrlEntry(virtualKey)) return {*action};
  }
  if (const auto caretKey = CaretKeyOf(virtualKey)) return {KeyAction::Move, *caretKey};
  switch (virtualKey) {
    case vk::kF3: return {KeyAction::FindNext};
    case vk::kBack: return {KeyAction::Backspace};
    case vk::kDelete: return {KeyAction::Delete};
    case vk::kTab: return {KeyAction::CornerJump};
    default: return {};
  }
}

bool EndsAtOnce(KeyAction action) {
  switch (action) {
    case KeyAction::SelectAll:
    case KeyAction::Copy:
    case KeyAction::Paste:
    case KeyAction::Cut:
    case KeyAction::Undo:
    case KeyAction::Redo:
    case KeyAction::Find:
    case KeyAction::FindSelected:
    case KeyAction::FindNext:
      return true;
    default:
      return false;
  }
}

}  // namespace nomvarix
