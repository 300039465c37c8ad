#include "platform/Diagnostics.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace nomvarix {

#ifdef _WIN32
int GdiObjectCount() { return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); }

void TraceToDebugger(std::string_view text) { OutputDebugStringA(std::string(text).c_str()); }
#else
int GdiObjectCount() { return -1; }

void TraceToDebugger(std::string_view) {}
#endif

}  // namespace nomvarix
