#include "view/ProgressDialogs.h"

#include <string>

#include <wx/progdlg.h>
#include <wx/toplevel.h>
#include <wx/weakref.h>

namespace nomvarix {
namespace {

/// The gauge's range when the total is known: counts above what an int holds still fit.
constexpr int kGaugeRange = 1000;

struct KindText {
  const wchar_t* title;
  const wchar_t* doing;
};

KindText TextOf(WorkKind kind) {
  switch (kind) {
    case WorkKind::LoadingFolder:
    case WorkKind::ReloadingAfterApply:
      return {L"Loading Folder", L"Reading the folder\u2026"};
    case WorkKind::Renaming:
      return {L"Apply Changes", L"Renaming files\u2026"};
    case WorkKind::InsertingDates:
      return {L"Insert Creation Date", L"Reading creation dates\u2026"};
    case WorkKind::InsertingImageSizes:
      return {L"Insert Image Size", L"Reading image sizes\u2026"};
    case WorkKind::InsertingDatesTaken:
      return {L"Insert Date Taken", L"Reading the dates photos were taken\u2026"};
    case WorkKind::ReadingMetadata:
      return {L"Insert from Metadata", L"Reading the files' metadata\u2026"};
    case WorkKind::SortingByDateTaken:
      return {L"Sort by Date Taken", L"Reading the dates photos were taken\u2026"};
    case WorkKind::Searching:
      return {L"Find", L"Searching the names\u2026"};
    case WorkKind::ReplacingAll:
      return {L"Replace All", L"Replacing in the names\u2026"};
  }
  return {L"Nomvarix", L"Working\u2026"};
}

wxString CountText(std::size_t done, std::size_t total) {
  if (total == 0) return wxString::FromUTF8(std::to_string(done) + " entries read");
  return wxString::FromUTF8(std::to_string(done) + " of " + std::to_string(total));
}

class DialogProgress final : public DelayedProgress {
 public:
  DialogProgress(wxWindow& parent, WorkKind kind, const Timing& timing, const ProgressDialogs::PresentHook& hook)
      : DelayedProgress(timing), parent_(parent), kind_(kind), hook_(hook) {}
  ~DialogProgress() override {
    if (!dialog_) return;
    dialog_.reset();
    // Nothing else hands the keyboard back: the windows that could have taken it were disabled.
    if (focus_) focus_->SetFocus();
  }

 protected:
  bool Present(std::size_t done, std::size_t total) override {
    const KindText text = TextOf(kind_);
    const wxString message = wxString(text.doing) + "\n" + CountText(done, total);
    if (!dialog_) {
      // Where the keyboard goes back to: not to a dialog that led to the work (the apply's
      // confirmation), which may still hold it while hidden.
      wxWindow* focus = wxWindow::FindFocus();
      focus_ = focus && focus->IsShownOnScreen() ? focus : &parent_;
      const long cancel = kind_ == WorkKind::ReloadingAfterApply ? 0 : wxPD_CAN_ABORT;
      dialog_ = std::make_unique<wxProgressDialog>(text.title, message, kGaugeRange, wxGetTopLevelParent(&parent_),
                                                   wxPD_APP_MODAL | wxPD_AUTO_HIDE | cancel);
    }
    const bool going = total == 0 ? dialog_->Pulse(message)
                                  : dialog_->Update(static_cast<int>(done * kGaugeRange / total), message);
    if (hook_) hook_(kind_, done, *dialog_);
    return going && !dialog_->WasCancelled();
  }

 private:
  wxWindow& parent_;
  const WorkKind kind_;
  const ProgressDialogs::PresentHook& hook_;
  std::unique_ptr<wxProgressDialog> dialog_;
  wxWeakRef<wxWindow> focus_;
};

}  // namespace

std::unique_ptr<WorkProgress> ProgressDialogs::Start(WorkKind kind) {
  return std::make_unique<DialogProgress>(parent_, kind, timing_, hook_);
}

}  // namespace nomvarix
