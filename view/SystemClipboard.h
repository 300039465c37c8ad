#pragma once

#include <memory>

#include "platform/Clipboard.h"

namespace nomvarix {

/// The clipboard of this platform: the Win32 clipboard on Windows, the toolkit's elsewhere (with
/// LF line ends converted to and from CR LF).
std::unique_ptr<Clipboard> MakeSystemClipboard();

}  // namespace nomvarix
