// The program's dialogs work from the keyboard and name their fields: every button, check box and
// field label has a mnemonic, no two alike within a dialog, and every text field follows its label
// in the tab order, which is where screen readers and the label's mnemonic find it.
#include <functional>
#include <map>
#include <memory>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "EditorGuiFixture.h"
#include "ai/dialog/AiDialog.h"
#include "ai/dialog/LlmSettingsDlg.h"
#include "view/ExtFilterDlg.h"
#include "view/FindReplaceDlg.h"
#include "view/ProceedDlg.h"
#include "view/ValidationReportDlg.h"

namespace nomvarix::test {
namespace {

/// The label's mnemonic, lower case; 0 when it has none ("&&" is a literal ampersand).
wxChar MnemonicOf(const wxString& label) {
  for (std::size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] == '&') {
      ++i;
      continue;
    }
    return wxTolower(label[i + 1]);
  }
  return 0;
}

/// The label as the control holds it, mnemonic marks included.
wxString MarkedLabel(const wxWindow& control) {
  if (const auto* text = dynamic_cast<const wxStaticText*>(&control)) return text->GetLabel();
  return control.GetLabel();
}

bool NeedsMnemonic(const wxWindow& control) {
  return dynamic_cast<const wxButton*>(&control) || dynamic_cast<const wxCheckBox*>(&control) ||
         dynamic_cast<const wxRadioButton*>(&control);
}

class DialogKeysGuiTest : public EditorGuiFixture {};

TEST_F(DialogKeysGuiTest, ButtonsAndFieldsHaveTheirOwnMnemonicsAndFieldsFollowTheirLabels) {
  SettingsStore& settings = GuiTestEnvironment::Get().App().Settings();
  FileSystem& fileSystem = const_cast<EditorSession&>(view->Session()).FileSystemPort();
  const std::pair<const char*, std::function<wxDialog*()>> dialogs[] = {
      {"Set Filter", [&] { return new CExtFilterDlg(frame, u"jpg", u""); }},
      {"Find/Replace", [&] { return new CFindReplaceDlg(frame, [](CFindReplaceDlg::Action) {}); }},
      {"Apply Changes", [&] { return new CProceedDlg(frame, settings); }},
      {"Validate Changes", [&] { return new CValidationReportDlg(frame, {}, [](std::size_t) {}); }},
      {"LLM Settings", [&] { return new CLlmSettingsDlg(frame, ChatServer{}, "KEY", "The key is kept in the settings file."); }},
      {"AI", [&] { return new CAiDialog(view, {}, fileSystem, settings); }},
  };
  for (const auto& [name, make] : dialogs) {
    SCOPED_TRACE(name);
    wxDialog* dialog = make();
    std::map<wxChar, wxString> taken;
    for (const wxWindow* control : dialog->GetChildren()) {
      const wxString label = MarkedLabel(*control);
      const wxChar key = MnemonicOf(label);
      if (NeedsMnemonic(*control)) {
        EXPECT_NE(key, 0) << "no mnemonic: " << label;
      }
      if (key == 0) continue;
      const auto [clash, added] = taken.emplace(key, label);
      EXPECT_TRUE(added) << "\"" << label << "\" and \"" << clash->second << "\" share a mnemonic";
    }
    for (const wxWindow* control : dialog->GetChildren()) {
      if (!dynamic_cast<const wxTextCtrl*>(control)) continue;
      const auto* label = dynamic_cast<const wxStaticText*>(control->GetPrevSibling());
      EXPECT_TRUE(label && MnemonicOf(label->GetLabel()) != 0)
          << "text field " << control->GetId() << " does not follow a label with a mnemonic";
    }
    dialog->Destroy();
    Settle();
  }
}

}  // namespace
}  // namespace nomvarix::test
