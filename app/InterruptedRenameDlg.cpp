#include "app/InterruptedRenameDlg.h"

#include <wx/msgdlg.h>

#include "controls/WxText.h"
#include "platform/LockedFile.h"
#include "platform/StateFolder.h"

namespace nomvarix {

RecoveryChoice AskAboutInterruptedRename(wxWindow* parent, const InterruptedRename& rename) {
  wxMessageDialog dialog(parent, ToWx(rename.Question()), "Interrupted Rename", wxYES_NO | wxYES_DEFAULT | wxICON_WARNING);
  dialog.SetYesNoLabels("&Undo the Renames", "&Keep the New Names");
  return dialog.ShowModal() == wxID_NO ? RecoveryChoice::Keep : RecoveryChoice::Undo;
}

std::u16string RecoverInterruptedRenames(wxWindow* parent, FileSystem& fileSystem) {
  std::u16string folder;
  for (LeftJournal& left : TakeOverLeftJournals(fileSystem, StateFolder())) {
    if (left.rename.FolderGone()) {
      wxMessageBox(ToWx(FolderGoneMessage(left.rename.Folder())), "Nomvarix", wxOK | wxICON_INFORMATION, parent);
    } else {
      const RecoveryChoice choice = AskAboutInterruptedRename(parent, left.rename);
      const std::u16string unplaced = UnplacedFilesMessage(choice, left.rename.Settle(choice, fileSystem));
      if (!unplaced.empty()) wxMessageBox(ToWx(unplaced), "Nomvarix", wxOK | wxICON_WARNING, parent);
      folder = left.rename.Folder();
    }
    left.file->Remove();
  }
  return folder;
}

}  // namespace nomvarix
