#include "resources/Accelerators.h"

#include <iterator>

#include "resources/CommandIds.h"

namespace nomvarix {

wxAcceleratorTable CreateAccelerators() {
  using cmd::MenuIdOf;
  wxAcceleratorEntry entries[] = {
      {wxACCEL_CTRL, 'C', MenuIdOf(cmd::kCopy)},
      {wxACCEL_CTRL, WXK_INSERT, MenuIdOf(cmd::kCopy)},
      {wxACCEL_CTRL, 'X', MenuIdOf(cmd::kCut)},
      {wxACCEL_SHIFT, WXK_DELETE, MenuIdOf(cmd::kCut)},
      {wxACCEL_CTRL, 'V', MenuIdOf(cmd::kPaste)},
      {wxACCEL_SHIFT, WXK_INSERT, MenuIdOf(cmd::kPaste)},
      {wxACCEL_CTRL, 'Z', MenuIdOf(cmd::kUndo)},
      {wxACCEL_ALT, WXK_BACK, MenuIdOf(cmd::kUndo)},
      {wxACCEL_CTRL, 'Y', MenuIdOf(cmd::kRedo)},
      {wxACCEL_CTRL, 'F', MenuIdOf(cmd::kFind)},
      {wxACCEL_NORMAL, WXK_F6, MenuIdOf(cmd::kNextPane)},
      {wxACCEL_SHIFT, WXK_F6, MenuIdOf(cmd::kPreviousPane)},
  };
  return wxAcceleratorTable(static_cast<int>(std::size(entries)), entries);
}

}  // namespace nomvarix
