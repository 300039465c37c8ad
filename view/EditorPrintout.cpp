#include "view/EditorPrintout.h"

#include "view/NomvarixView.h"

namespace nomvarix {

EditorPrintout::EditorPrintout(CNomvarixView& view) : wxPrintout("Nomvarix"), view_(view) {}

bool EditorPrintout::OnPrintPage(int page) {
  wxDC* dc = GetDC();
  if (page != 1 || !dc) return false;
  FitThisSizeToPage(view_.GetClientSize());
  view_.PaintTo(*dc);
  return true;
}

void EditorPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
  *minPage = *maxPage = *pageFrom = *pageTo = 1;
}

}  // namespace nomvarix
