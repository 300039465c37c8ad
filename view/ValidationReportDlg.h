#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include <wx/dialog.h>

#include "apply/Validation.h"

namespace nomvarix {

/// The problems "Validate Changes" found, one row each (line number, new name, problem) in a list
/// that scrolls however long it is. Choosing a row calls `choose` with its line, so that the editor
/// behind shows it.
class CValidationReportDlg final : public wxDialog {
 public:
  enum ControlId { kProblemList = 1040 };

  CValidationReportDlg(wxWindow* parent, std::vector<ValidationProblem> problems,
                       std::function<void(std::size_t line)> choose);
};

}  // namespace nomvarix
