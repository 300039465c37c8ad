#pragma once

#include <string_view>

namespace nomvarix {

/// The process's number of GDI objects on Windows; -1 where there is no such count.
int GdiObjectCount();

/// Writes a line to the debugger's output channel (Windows); nothing elsewhere.
void TraceToDebugger(std::string_view text);

}  // namespace nomvarix
