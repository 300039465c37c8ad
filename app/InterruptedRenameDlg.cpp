#include "app/InterruptedRenameDlg.h"

#include <wx/msgdlg.h>

#include "controls/WxText.h"
#include "platform/LockedFile.h"
#include "platform/StateFolder.h"

namespace nomvarix {

std::optional<RecoveryChoice> AskAboutInterruptedRename(wxWindow* parent, const InterruptedRename& rename) {
  wxMessageDialog dialog(parent, ToWx(rename.Question()), "Interrupted Rename",
                         wxYES_NO | wxCANCEL | wxYES_DEFAULT | wxICON_QUESTION);
  dialog.SetYesNoCancelLabels("&Undo the Renames", "&Keep the New Names", "&Decide Later");
  switch (dialog.ShowModal()) {
    case wxID_YES: return RecoveryChoice::Undo;
    case wxID_NO: return RecoveryChoice::Keep;
    default: return std::nullopt;
  }
}

namespace {

/// Whether the user drops a journal whose folder cannot be read; keeping it is the default.
bool DropsUnreadableJournal(wxWindow* parent, const InterruptedRename& rename) {
  wxMessageDialog dialog(parent, ToWx(FolderUnreadableQuestion(rename.Folder())), "Interrupted Rename",
                         wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  dialog.SetYesNoLabels("&Drop the Record", "&Keep the Record");
  return dialog.ShowModal() == wxID_YES;
}

}  // namespace

std::u16string RecoverInterruptedRenames(wxWindow* parent, FileSystem& fileSystem,
                                         const std::function<void(HistoryEntry)>& record) {
  std::u16string folder;
  const std::u16string setAside = SetAsideUnusableJournals(fileSystem, StateFolder());
  if (!setAside.empty()) wxMessageBox(ToWx(setAside), "Nomvarix", wxOK | wxICON_WARNING, parent);
  for (LeftJournal& left : TakeOverLeftJournals(fileSystem, StateFolder())) {
    if (left.rename.FolderUnreadable()) {
      if (DropsUnreadableJournal(parent, left.rename)) left.file->Remove();
      continue;
    }
    const std::optional<RecoveryChoice> choice = AskAboutInterruptedRename(parent, left.rename);
    if (!choice) continue;
    SettleReport report = left.rename.Settle(*choice, fileSystem);
    const std::u16string message = SettleMessage(*choice, report);
    record(NewHistoryEntry(HistoryKind::Recovery, left.rename.Folder(), std::move(report.renamed)));
    if (!message.empty()) wxMessageBox(ToWx(message), "Nomvarix", wxOK | wxICON_WARNING, parent);
    folder = left.rename.Folder();
    left.file->Remove();
  }
  return folder;
}

}  // namespace nomvarix
