#pragma once

#include <chrono>
#include <functional>

#include <wx/app.h>
#include <wx/utils.h>

namespace nomvarix::test {

/// Lets the event loop run until `done` holds or `timeout` has passed.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    wxTheApp->ProcessPendingEvents();
    wxYield();
    wxMilliSleep(10);
  }
  return true;
}

/// Lets the event loop run for a moment, for events whose effect is that nothing happens.
inline void PumpFor(int milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  PumpUntil([&] { return std::chrono::steady_clock::now() >= until; });
}

}  // namespace nomvarix::test
