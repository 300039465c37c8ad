#pragma once

#include <string_view>

#include <wx/dialog.h>

class wxCheckBox;
class wxRadioButton;

namespace nomvarix {

class SettingsStore;

/// "Apply Changes to the current folder": the confirmation before renaming, with "Verify first"
/// and the choice between skipping and auto-renaming conflicting files. Both options are read from
/// the settings when it opens and written the moment they change, even if it is cancelled.
class CProceedDlg final : public wxDialog {
 public:
  enum ControlId { kSkipConflicting = 1000, kAutoRename = 1001, kVerifyFirst = 1002, kOptionsHeader = 1009, kSummary = 1010 };

  CProceedDlg(wxWindow* parent, SettingsStore& settings, std::u16string_view summary = {});

  bool Verify() const;
  bool AutoRename() const;

 private:
  void OnVerifyClicked();
  void OnRadioClicked();
  void EnableRadios();

  SettingsStore& settings_;
  wxCheckBox* verify_ = nullptr;
  wxRadioButton* skip_ = nullptr;
  wxRadioButton* autoRename_ = nullptr;
};

}  // namespace nomvarix
