#pragma once

#include <wx/button.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "ShownDialog.h"
#include "GuiPump.h"
#include "view/ProceedDlg.h"

namespace nomvarix::test {

/// Clicks "Proceed" with the mouse as soon as the confirmation dialog shows.
class DialogConfirmer : public wxTimer {
 public:
  explicit DialogConfirmer(wxUIActionSimulator& sim) : sim_(sim) { Start(100); }
  int Confirmed() const { return confirmed_; }
  /// What the last dialog confirmed said the apply would do; empty when it said nothing.
  const wxString& Summary() const { return summary_; }

  void Notify() override {
    CProceedDlg* dialog = ShownDialog();
    // One click per dialog: on a slow machine the dialog is still shown at the next tick.
    if (!dialog) {
      clicked_ = false;
      return;
    }
    auto* proceed = dynamic_cast<wxButton*>(dialog->FindWindow(wxID_OK));
    if (clicked_ || !proceed) return;
    const wxWindow* summary = dialog->FindWindow(CProceedDlg::kSummary);
    summary_ = summary ? summary->GetLabel() : wxString();
    const wxRect rect = proceed->GetScreenRect();
    sim_.MouseMove(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
    Settle();
    sim_.MouseClick();
    clicked_ = true;
    ++confirmed_;
  }

 private:
  static CProceedDlg* ShownDialog() { return test::ShownDialog<CProceedDlg>(); }

  wxUIActionSimulator& sim_;
  int confirmed_ = 0;
  bool clicked_ = false;
  wxString summary_;
};

}  // namespace nomvarix::test
