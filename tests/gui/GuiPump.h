#pragma once

#include <chrono>
#include <functional>

#include <wx/app.h>
#include <wx/gdicmn.h>
#include <wx/settings.h>
#include <wx/utils.h>

namespace nomvarix::test {

/// Lets the event loop run until `done` holds. `timeout` only guards against a test that would
/// otherwise hang: it is far longer than any condition needs, even on a loaded machine.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    wxTheApp->ProcessPendingEvents();
    wxYield();
    wxMilliSleep(10);
  }
  return true;
}

/// Lets the program handle every event the display has sent so far, and what those events posted:
/// after a simulated key or click its effect is there, however slowly the machine runs. The
/// simulator waits until the display server has generated the events; asking the server for the
/// pointer is a round trip on the program's own connection, which reads them all in before its
/// answer, and the yield then handles them.
inline void Settle() {
  int x = 0;
  int y = 0;
  wxGetMousePosition(&x, &y);
  wxYield();
  // Bounded, should handlers keep posting to each other.
  for (int round = 0; round < 100 && wxTheApp->HasPendingEvents(); ++round) {
    wxTheApp->ProcessPendingEvents();
    wxYield();
  }
}

/// Waits until a click now is no double click with the last one: the display tells the two apart
/// by the time between them.
inline void WaitOutDoubleClick() {
  const auto since = std::chrono::steady_clock::now();
  const int doubleClickTime = wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC);
  const auto interval = std::chrono::milliseconds((doubleClickTime > 0 ? doubleClickTime : 500) + 100);
  PumpUntil([&] { return std::chrono::steady_clock::now() - since > interval; }, interval * 2);
}

}  // namespace nomvarix::test
