#pragma once

#include <optional>
#include <string>
#include <vector>

#include <wx/dialog.h>

#include "transform/MetadataRecord.h"

class wxCheckBox;
class wxStaticText;
class wxTextCtrl;

namespace nomvarix {

/// "Insert from Metadata": the fields by group (a double-click puts one into the pattern), the
/// pattern, what a line whose file lacks a field gets, and a preview of the first selected files.
class CMetadataDlg final : public wxDialog {
 public:
  /// `names` and `records` are the selected lines' names and their files' values, line by line.
  CMetadataDlg(wxWindow* parent, const std::u16string& pattern, std::vector<std::u16string> names,
               std::vector<MetadataRecord> records);

  std::u16string Pattern() const;
  /// The text for a missing field; empty when such lines are left as they are.
  std::optional<std::u16string> Fallback() const;

 private:
  void ShowPreview();

  std::vector<std::u16string> names_;
  std::vector<MetadataRecord> records_;
  wxTextCtrl* pattern_ = nullptr;
  wxCheckBox* useFallback_ = nullptr;
  wxTextCtrl* fallback_ = nullptr;
  wxStaticText* preview_ = nullptr;
  wxStaticText* missing_ = nullptr;
};

}  // namespace nomvarix
