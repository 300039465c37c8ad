#pragma once

#include <cstdint>

namespace nomvarix {

/// Puts one key press or release into the system's input stream, as if typed, where the platform
/// allows it (Windows). False where it does not; the caller then hands the key to the editor.
bool InjectKey(std::int32_t virtualKey, bool down);

}  // namespace nomvarix
