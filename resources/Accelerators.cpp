#include "resources/Accelerators.h"

#include <vector>

#include "editor/VirtualKey.h"
#include "resources/CommandIds.h"

namespace nomvarix {
namespace {

struct Accelerator {
  int modifiers;  ///< wxACCEL_* flags
  int virtualKey;
  int command;
};

constexpr Accelerator kAccelerators[] = {
    {wxACCEL_CTRL, 'C', cmd::kCopy},         {wxACCEL_CTRL, vk::kInsert, cmd::kCopy},
    {wxACCEL_CTRL, 'X', cmd::kCut},          {wxACCEL_SHIFT, vk::kDelete, cmd::kCut},
    {wxACCEL_CTRL, 'V', cmd::kPaste},        {wxACCEL_SHIFT, vk::kInsert, cmd::kPaste},
    {wxACCEL_CTRL, 'Z', cmd::kUndo},         {wxACCEL_ALT, vk::kBack, cmd::kUndo},
    {wxACCEL_CTRL, 'Y', cmd::kRedo},         {wxACCEL_CTRL | wxACCEL_SHIFT, 'Z', cmd::kRedo},
    {wxACCEL_CTRL, 'F', cmd::kFind},         {wxACCEL_CTRL, 'Q', cmd::kExit},
    {wxACCEL_CTRL, 'P', cmd::kPrint},        {wxACCEL_CTRL, 'I', cmd::kAi},
    {wxACCEL_CTRL, 'H', cmd::kRenameHistory},
    {wxACCEL_CTRL, 'M', cmd::kInsertFromMetadata},
    {wxACCEL_NORMAL, vk::kF6, cmd::kNextPane}, {wxACCEL_SHIFT, vk::kF6, cmd::kPreviousPane},
};

int WxKeyOf(int virtualKey) {
  switch (virtualKey) {
    case vk::kInsert: return WXK_INSERT;
    case vk::kDelete: return WXK_DELETE;
    case vk::kBack: return WXK_BACK;
    case vk::kF6: return WXK_F6;
    default: return virtualKey;  // letters
  }
}

}  // namespace

wxAcceleratorTable CreateAccelerators() {
  std::vector<wxAcceleratorEntry> entries;
  for (const Accelerator& a : kAccelerators) {
    entries.emplace_back(a.modifiers, WxKeyOf(a.virtualKey), cmd::MenuIdOf(a.command));
  }
  return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

std::optional<int> AcceleratorCommand(int virtualKey, bool shift, bool ctrl, bool alt) {
  const int modifiers = (shift ? wxACCEL_SHIFT : 0) | (ctrl ? wxACCEL_CTRL : 0) | (alt ? wxACCEL_ALT : 0);
  for (const Accelerator& a : kAccelerators) {
    if (a.virtualKey == virtualKey && a.modifiers == modifiers) return a.command;
  }
  return std::nullopt;
}

}  // namespace nomvarix
