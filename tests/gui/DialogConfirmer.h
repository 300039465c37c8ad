#pragma once

#include <wx/button.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "view/ProceedDlg.h"

namespace nomvarix::test {

/// Clicks "Proceed" with the mouse as soon as the confirmation dialog shows.
class DialogConfirmer : public wxTimer {
 public:
  explicit DialogConfirmer(wxUIActionSimulator& sim) : sim_(sim) { Start(100); }
  int Confirmed() const { return confirmed_; }

  void Notify() override {
    for (wxWindow* window : wxTopLevelWindows) {
      auto* dialog = dynamic_cast<CProceedDlg*>(window);
      if (!dialog || !dialog->IsShown()) continue;
      auto* proceed = dynamic_cast<wxButton*>(dialog->FindWindow(wxID_OK));
      if (!proceed) continue;
      const wxRect rect = proceed->GetScreenRect();
      sim_.MouseMove(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
      wxMilliSleep(50);
      sim_.MouseClick();
      ++confirmed_;
      return;
    }
  }

 private:
  wxUIActionSimulator& sim_;
  int confirmed_ = 0;
};

}  // namespace nomvarix::test
